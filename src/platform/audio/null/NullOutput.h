// The no-sound output: a thread of its own takes the mix at real-time pace and drops it, so that
// tracks end on time on a machine without a sound device.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "platform/audio/Output.h"
#include "platform/audio/RenderRing.h"
#include "platform/audio/RenderThread.h"

namespace qa::platform::audio {

class NullOutput : public Output {
  public:
    NullOutput();
    ~NullOutput() override { stop(); }
    bool start(RenderSource& source, int rate) override;
    void stop() override;
    int method() const override;
    std::uint64_t underruns() const override { return underruns_.load(); }

  private:
    void consume();

    RenderRing ring_;
    RenderThread mixer_;
    int rate_ = 44100;
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint64_t> underruns_{0};
    std::thread thread_;
};

}  // namespace qa::platform::audio
