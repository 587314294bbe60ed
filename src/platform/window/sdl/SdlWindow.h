// The application window on SDL: one window for the whole run. It starts as the launcher dialog,
// drawn by ourselves, and is then handed to the graphics device, which presents into it, in a
// window or on the whole desktop. SDL events become the launcher's messages, then typed input events.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>

#include "platform/window/DoubleClicks.h"
#include "platform/window/LauncherDialog.h"
#include "platform/window/Window.h"

struct SDL_Window;
struct SDL_Renderer;
union SDL_Event;

namespace qa::platform::window {

class LauncherPainter;

class SdlWindow : public Window {
  public:
    // With `graphicsHardware` false the window never asks for OpenGL (which could only be a
    // software rasteriser then).
    explicit SdlWindow(bool graphicsHardware);
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool createLauncher() override;
    bool launcherMessage(Message& out) override;
    void setChecked(int controlId, bool checked) override;
    bool isChecked(int controlId) const override { return dialog_.isChecked(controlId); }
    void destroyControl(int controlId) override;

    bool pollEvent(InputEvent& out) override;
    bool clientRect(Rect& out) const override;
    bool windowRect(Rect& out) const override;
    void setWindowPos(int left, int top, int width, int height) override;
    void setWindowSize(int width, int height) override;
    void update() override;
    bool cursorPos(Point& out) const override;
    void showCursor(bool show) override;
    void messageBox(const std::string& text, const std::string& caption) override;
    void setFullscreen(bool fullscreen) override;
    // The SDL_Window*. Whoever asks for it is about to draw into the window, so the launcher's own
    // drawing stops here (an SDL window has one renderer at a time).
    void* nativeHandle() const override;

  private:
    bool graphicsHardware_;
    // Launcher mode: the dialog manager's turn at an event; messages for the window procedure are
    // queued. False when the event ends message retrieval.
    bool launcherEvent(const SDL_Event& e);
    // Running mode: the input events an SDL event becomes.
    void runningEvent(const SDL_Event& e);
    // A point in the window's client pixels in the pixels cursorPos reports.
    Point toCursorSpace(int x, int y) const;
    void paintLauncher();
    void releaseLauncherDrawing() const;
    void bordersOf(int& top, int& left, int& bottom, int& right) const;

    SDL_Window* window_ = nullptr;
    mutable SDL_Renderer* renderer_ = nullptr;
    mutable std::unique_ptr<LauncherPainter> painter_;
    LauncherDialog dialog_;
    DoubleClicks clicks_;
    std::deque<Message> launcherQueue_;
    std::deque<InputEvent> queue_;
    std::uint32_t windowId_ = 0;
    bool videoStarted_ = false;
    bool shown_ = false;
    bool dirty_ = false;
    bool fullscreen_ = false;
    int cursorCount_ = 0;
};

}  // namespace qa::platform::window
