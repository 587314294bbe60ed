// The window of the page's player: the SDL window over the page's canvas, with what the page does
// differently. Full screen is the page's (it shows the canvas over the whole screen, letterboxed), so
// the window itself always keeps the picture's size; message boxes are kept for the page to show;
// and in the page's test mode the input comes from a script (keys and buttons posted, the cursor
// set) while the user's own input is dropped.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/window/sdl/SdlWindow.h"

namespace qa::platform::window {

class WebWindow : public SdlWindow {
  public:
    WebWindow() : SdlWindow(false) {}

    // From now on only posted input and the set cursor count.
    void useScriptedInput() { scripted_ = true; }
    // An input event for the next input step; a button without a position is at the cursor.
    void post(const InputEvent& e);
    // The cursor in the window's pixels (the picture's, at the window's size).
    void setCursor(int x, int y);
    // The message boxes shown so far, as "caption: text", oldest first.
    const std::vector<std::string>& messages() const { return messages_; }

    bool pollEvent(InputEvent& out) override;
    bool cursorPos(Point& out) const override;
    void messageBox(const std::string& text, const std::string& caption) override;
    void setFullscreen(bool fullscreen) override;

  private:
    bool scripted_ = false;
    std::deque<InputEvent> posted_;
    bool cursorKnown_ = false;
    Point cursor_;
    std::vector<std::string> messages_;
};

}  // namespace qa::platform::window
