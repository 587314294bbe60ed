// Tells the second press of a double click from a plain press, as a window class that asks for
// double clicks does.
#pragma once

#include <cstdint>

#include "platform/window/InputEvent.h"

namespace qa::platform::window {

class DoubleClicks {
  public:
    // A second press of the same button within this time and within a 4 x 4 pixel box around the
    // first press is a double click.
    static constexpr std::uint32_t kDoubleClickMs = 500;
    static constexpr int kDoubleClickHalfBox = 2;

    // A press at a client point at a time in milliseconds: Down, or DoubleClick for the second press
    // of a double click. The press after a double click starts afresh, as does a press of the other
    // button.
    InputEvent::Press press(MouseButton button, std::uint32_t timeMs, int x, int y);
    // Forgets the last press (the window lost the mouse or the focus).
    void forget() { haveClick_ = false; }

  private:
    bool haveClick_ = false;
    MouseButton lastButton_ = MouseButton::Left;
    std::uint32_t lastTime_ = 0;
    int lastX_ = 0, lastY_ = 0;
};

}  // namespace qa::platform::window
