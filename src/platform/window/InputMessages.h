// Builds the window messages for keyboard and mouse input: key-down and key-up with their flags,
// button presses with double clicks, and wheel deltas of 120 a notch.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/window/Window.h"

namespace qa::platform::window {

enum class MouseButton { Left, Right };

class InputMessages {
  public:
    // The window class asks for double clicks: a second press of the same button within this time
    // and within a 4 x 4 pixel box around the first press arrives as a double click.
    static constexpr std::uint32_t kDoubleClickMs = 500;
    static constexpr int kDoubleClickHalfBox = 2;
    static constexpr int kWheelDelta = 120;

    // A key press; every automatic repeat is one more press. Alt held (or Alt or F10 itself) makes
    // it a system key, which the running window ignores.
    static Message keyDown(std::uint32_t virtualKey, bool repeat, bool alt);
    static Message keyUp(std::uint32_t virtualKey, bool alt);

    // A button press at a client point at a time in milliseconds: the down message, or the
    // double-click message for the second press of a double click. The press after a double click
    // starts afresh, as does a press of the other button.
    Message buttonDown(MouseButton button, std::uint32_t timeMs, int x, int y);
    static Message buttonUp(MouseButton button, int x, int y);
    // Forgets the last press (the window lost the mouse or the focus).
    void forgetClick() { haveClick_ = false; }

    // The wheel turned by a number of notches (positive away from the user, fractions from smooth
    // wheels are carried over to the next turn): the wheel messages, none when less than one unit of
    // delta has gathered, several when the delta does not fit one message.
    std::vector<Message> wheel(double notches, int screenX, int screenY);

    static Message mouseMove(int x, int y) { return {WM_MOUSEMOVE, 0, pointParam(x, y)}; }
    // Two 16-bit coordinates packed the way the system packs them into lParam.
    static std::int64_t pointParam(int x, int y);

  private:
    bool haveClick_ = false;
    MouseButton lastButton_ = MouseButton::Left;
    std::uint32_t lastTime_ = 0;
    int lastX_ = 0, lastY_ = 0;
    double wheelRemainder_ = 0.0;
};

}  // namespace qa::platform::window
