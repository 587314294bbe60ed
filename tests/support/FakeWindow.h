// The window every test uses: launcher messages and input events come from queues the test fills, the
// rectangles and the cursor are set by the test, every call that changes the window is noted, and a
// native window (a real SDL window) may be handed to the graphics device through it.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/window/Window.h"

namespace qa::test {

class FakeWindow : public platform::window::Window {
  public:
    bool createLauncher() override;
    // The next queued launcher message; false (retrieval ends) when the queue is empty. A command of
    // a check box toggles that box first, as a click on it would.
    bool launcherMessage(platform::window::Message& out) override;
    void setChecked(int controlId, bool checked) override { checks[controlId] = checked; }
    bool isChecked(int controlId) const override;
    void destroyControl(int controlId) override { destroyed.push_back(controlId); }

    bool pollEvent(platform::window::InputEvent& out) override;
    bool clientRect(platform::window::Rect& out) const override;
    bool windowRect(platform::window::Rect& out) const override;
    void setWindowPos(int left, int top, int width, int height) override;
    void setWindowSize(int width, int height) override;
    bool cursorPos(platform::window::Point& out) const override;
    void showCursor(bool show) override;
    void messageBox(const std::string& text, const std::string& caption) override;
    void setFullscreen(bool fullscreen) override;
    void* nativeHandle() const override { return native; }

    // Queues the answer of a viewer who starts at once: the dialog is shown (its boxes keep the stored
    // settings), then the start button is pressed.
    void startAtOnce();
    // Queues an input event; a button event without a position is pressed where the cursor is, when
    // it is known.
    void post(const platform::window::InputEvent& e);

    bool canCreate = true;
    std::deque<platform::window::Message> launcherMessages;
    std::deque<platform::window::InputEvent> queue;
    std::map<int, bool> checks;
    std::vector<int> destroyed;
    std::vector<std::string> boxes;  // "caption: text"
    std::vector<std::string> calls;  // window changes, in order
    platform::window::Rect client{0, 0, 1024, 768};
    platform::window::Rect outer{0, 0, 1024, 768};
    bool rectsReadable = true;
    // The cursor in screen pixels; unreadable when cursorKnown is false.
    platform::window::Point cursor;
    bool cursorKnown = true;
    // Frame borders the window keeps when it is resized: outer = client + these.
    int borderWidth = 0;
    int borderHeight = 0;
    // What nativeHandle() gives the graphics device (an SDL_Window*); null: no display.
    void* native = nullptr;
};

}  // namespace qa::test
