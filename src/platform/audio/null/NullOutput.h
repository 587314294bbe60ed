// The no-sound output: a thread of its own takes the mix at real-time pace and drops it, so that
// tracks end on time on a machine without a sound device. It mixes ahead of the time it stands for
// by a fixed depth, as a device's mix-ahead would, and takes what is due on each of its ticks.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/audio/Output.h"

namespace qa::platform::audio {

class NullOutput : public Output {
  public:
    ~NullOutput() override { stop(); }
    bool start(RenderSource& source, int rate) override;
    void stop() override;
    int method() const override;
    std::uint64_t underruns() const override { return underruns_.load(); }

  private:
    // Mixes (and drops) blocks until `ahead_` frames are mixed beyond what has been taken.
    void mixAhead();
    void run();

    RenderSource* source_ = nullptr;
    int rate_ = 44100;
    std::uint64_t ahead_ = 0;  // frames mixed and not yet due
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> underruns_{0};
    std::thread thread_;
};

}  // namespace qa::platform::audio
