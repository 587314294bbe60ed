// The multimedia clock on SDL: its 32-bit millisecond counter, which wraps after about 49.7 days.
#pragma once

#include "platform/Clock.h"

namespace qa::platform {

class SdlClock : public Clock {
  public:
    std::uint32_t now() override;
};

}  // namespace qa::platform
