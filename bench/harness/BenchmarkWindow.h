// A window for timing runs of the program, never for users: it answers its own launcher at once
// (the boxes keep the stored settings), hands the program input events posted from outside before
// the real window's, and can end the run after a number of frames.
#pragma once

#include <deque>
#include <functional>

#include "platform/window/Window.h"

namespace qa::bench {

using platform::window::InputEvent;
using platform::window::Message;
using platform::window::Point;
using platform::window::Rect;
using platform::window::Window;

class BenchmarkWindow : public Window {
  public:
    // Everything else is the real window's.
    explicit BenchmarkWindow(Window& inner) : inner_(inner) {}

    bool createLauncher() override { return inner_.createLauncher(); }
    // The dialog is shown (its boxes take the stored settings), then the start button is pressed.
    bool launcherMessage(Message& out) override;
    void setChecked(int controlId, bool checked) override { inner_.setChecked(controlId, checked); }
    bool isChecked(int controlId) const override { return inner_.isChecked(controlId); }
    void destroyControl(int controlId) override { inner_.destroyControl(controlId); }

    // Posted events first, then the real window's; the end of each frame's input step is counted.
    bool pollEvent(InputEvent& out) override;
    bool clientRect(Rect& out) const override { return inner_.clientRect(out); }
    bool windowRect(Rect& out) const override { return inner_.windowRect(out); }
    void setWindowPos(int left, int top, int width, int height) override {
        inner_.setWindowPos(left, top, width, height);
    }
    void setWindowSize(int width, int height) override { inner_.setWindowSize(width, height); }
    void update() override { inner_.update(); }
    bool cursorPos(Point& out) const override { return inner_.cursorPos(out); }
    void showCursor(bool show) override { inner_.showCursor(show); }
    void messageBox(const std::string& text, const std::string& caption) override;
    void setFullscreen(bool fullscreen) override { inner_.setFullscreen(fullscreen); }
    void* nativeHandle() const override { return inner_.nativeHandle(); }

    // Delivered in the next frame's message step, in order.
    void post(const InputEvent& e) { posted_.push_back(e); }
    // After this many frames' message steps the window is closed (0: never).
    void setFrameLimit(int frames) { frameLimit_ = frames; }
    // Called at the end of every frame's message step with the frame's number (from 1): frame n's
    // message step ends after frame n - 1 was presented.
    void setStepHook(std::function<void(int frame)> hook) { stepHook_ = std::move(hook); }

  private:
    Window& inner_;
    std::deque<InputEvent> posted_;
    std::function<void(int)> stepHook_;
    int launcherStep_ = 0;
    int steps_ = 0;
    int frameLimit_ = 0;
    bool stepEnding_ = false;
};

}  // namespace qa::bench
