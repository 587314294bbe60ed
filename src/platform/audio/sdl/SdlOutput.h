// The sound device through SDL's audio: the device's callback copies frames that a render thread
// mixed ahead into a lock-free ring, and wakes that thread to top the ring up.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/audio/Output.h"
#include "platform/audio/RenderRing.h"
#include "platform/audio/RenderThread.h"

namespace qa::platform::audio {

class SdlOutput : public Output {
  public:
    SdlOutput();
    ~SdlOutput() override { stop(); }
    // False when SDL's audio cannot start or no device opens.
    bool start(RenderSource& source, int rate) override;
    void stop() override;
    int method() const override { return method_; }
    std::uint64_t underruns() const override { return underruns_.load(); }

  private:
    static void callback(void* self, std::uint8_t* stream, int bytes);

    RenderRing ring_;
    RenderThread mixer_;
    std::uint32_t device_ = 0;
    bool subsystem_ = false;
    int method_ = 0;
    std::atomic<std::uint64_t> underruns_{0};
};

}  // namespace qa::platform::audio
