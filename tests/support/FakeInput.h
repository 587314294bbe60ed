// A clock and a joystick for tests: the test sets the time and the stick.
#pragma once

#include "platform/Clock.h"
#include "platform/Joystick.h"

namespace qa::test {

class FakeClock : public platform::Clock {
  public:
    std::uint32_t now() override { return time; }
    std::uint32_t time = 0;
};

class FakeJoystick : public platform::Joystick {
  public:
    bool capabilities(platform::JoystickCaps& out) override {
        out = caps;
        return present;
    }
    bool read(platform::JoystickState& out) override {
        ++reads;
        out = state;
        return present && readable;
    }
    bool present = true;
    bool readable = true;
    platform::JoystickCaps caps;
    platform::JoystickState state{32767, 32767, 0};
    int reads = 0;
};

}  // namespace qa::test
