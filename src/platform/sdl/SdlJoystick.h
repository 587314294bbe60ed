// Joystick 0 through SDL: its first two axes as positions from 0 to 65535 (capabilities minimum 0,
// maximum 65535) and its first 32 buttons as bits.
#pragma once

#include <cstdint>

#include "platform/Joystick.h"

struct _SDL_Joystick;

namespace qa::platform {

class SdlJoystick : public Joystick {
  public:
    SdlJoystick() = default;
    ~SdlJoystick() override;
    SdlJoystick(const SdlJoystick&) = delete;
    SdlJoystick& operator=(const SdlJoystick&) = delete;

    // Opens joystick 0 the first time; false when there is none.
    bool capabilities(JoystickCaps& out) override;
    // False when no joystick was opened or it has gone.
    bool read(JoystickState& out) override;

    // An SDL axis value (-32768 to 32767) as a position from 0 to 65535.
    static std::uint32_t toPosition(std::int16_t axis) {
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(axis) + 32768);
    }

  private:
    _SDL_Joystick* joystick_ = nullptr;
    bool started_ = false;
};

}  // namespace qa::platform
