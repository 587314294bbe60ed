// Virtual time: start-up reads 0 and frame N reads the end of N frames at the run's frame rate.
#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace qa::runner {

class VirtualClock : public platform::Clock {
  public:
    explicit VirtualClock(std::uint32_t frameMs) : VirtualClock(1000, static_cast<std::int64_t>(frameMs)) {}
    // Frames at rateNum / rateDen per second: frame N reads N x 1000 x rateDen / rateNum milliseconds,
    // rounded down from the exact time, so fractional frame lengths never drift.
    VirtualClock(std::int64_t rateNum, std::int64_t rateDen) : rateNum_(rateNum), rateDen_(rateDen) {}
    void setFrame(int frame) { now_ = static_cast<std::uint32_t>(at(frame, 1000)); }
    std::uint32_t now() override { return now_; }
    // The end of frame N in units of 1 / perSecond of a second, rounded down.
    std::uint64_t at(int frame, std::int64_t perSecond) const {
        const unsigned __int128 v =
            static_cast<unsigned __int128>(frame) * static_cast<std::uint64_t>(perSecond) *
            static_cast<std::uint64_t>(rateDen_) / static_cast<std::uint64_t>(rateNum_);
        return static_cast<std::uint64_t>(v);
    }

  private:
    std::int64_t rateNum_;
    std::int64_t rateDen_;
    std::uint32_t now_ = 0;
};

}  // namespace qa::runner
