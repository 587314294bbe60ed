// Timed input for the headless runner: one action a line, "FRAME ACTION ARGS", delivered in that
// frame's input step in file order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Joystick.h"
#include "platform/window/Window.h"

namespace qa::runner {

struct InputAction {
    enum class Kind { Event, Mouse, Joystick };
    Kind kind = Kind::Event;
    platform::window::InputEvent event;  // Kind::Event
    int x = 0, y = 0;                    // Kind::Mouse: cursor in virtual units
    platform::JoystickState joystick;    // Kind::Joystick
};

class InputScript {
  public:
    // Parses the text; false with `error()` naming the line when a line cannot be read.
    bool parse(const std::string& text);
    const std::string& error() const { return error_; }
    // The actions of a frame, in file order.
    const std::vector<InputAction>& actionsFor(int frame) const;
    bool usesJoystick() const { return usesJoystick_; }

  private:
    std::map<int, std::vector<InputAction>> byFrame_;
    std::string error_;
    bool usesJoystick_ = false;
};

}  // namespace qa::runner
