// Virtual time: start-up reads 0 and frame N reads N x the frame's milliseconds.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace qa::runner {

class VirtualClock : public platform::Clock {
  public:
    explicit VirtualClock(std::uint32_t frameMs) : frameMs_(frameMs) {}
    void setFrame(int frame) {
        now_ = static_cast<std::uint32_t>(static_cast<std::uint64_t>(frame) * frameMs_);
    }
    std::uint32_t now() override { return now_; }

  private:
    std::uint32_t frameMs_;
    std::uint32_t now_ = 0;
};

}  // namespace qa::runner
