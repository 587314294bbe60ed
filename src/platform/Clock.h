// The multimedia clock: milliseconds in a 32-bit counter that wraps.
#pragma once

#include <cstdint>

namespace qa::platform {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::uint32_t now() = 0;
};

}  // namespace qa::platform
