// Joystick 0: its capabilities (position range) and its position and buttons, in the 0 to 65535 range.
#pragma once

#include <cstdint>

namespace qa::platform {

struct JoystickCaps {
    std::uint32_t minX = 0, maxX = 65535, minY = 0, maxY = 65535;
};

struct JoystickState {
    std::uint32_t x = 32767, y = 32767;
    std::uint32_t buttons = 0;  // bit 0 = button 1, bit 1 = button 2, ...
};

class Joystick {
  public:
    virtual ~Joystick() = default;
    // False when there is no joystick 0.
    virtual bool capabilities(JoystickCaps& out) = 0;
    // False when the position cannot be read.
    virtual bool read(JoystickState& out) = 0;
};

}  // namespace qa::platform
