// Joystick 0 as the input script moves it: present when the script uses it, positions 0 to 65535.
#pragma once

#include "platform/Joystick.h"

namespace qa::runner {

class ScriptedJoystick : public platform::Joystick {
  public:
    explicit ScriptedJoystick(bool present) : present_(present) {}
    bool capabilities(platform::JoystickCaps& out) override {
        out = {};
        return present_;
    }
    bool read(platform::JoystickState& out) override {
        out = state_;
        return present_;
    }
    void set(const platform::JoystickState& state) { state_ = state; }

  private:
    bool present_;
    platform::JoystickState state_{32767, 32767, 0};
};

}  // namespace qa::runner
