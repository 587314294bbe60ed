// The sound device through SDL's audio, mixed inside the device's own callback: no thread of its own.
// For the page, where SDL calls back on the one thread the program has, between frames, whenever
// the browser's audio needs samples.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/audio/Output.h"

namespace qa::platform::audio {

class SdlCallbackOutput : public Output {
  public:
    // Frames the device asks for at a time: about 46 ms at 44100 Hz, what a frame may take before
    // the browser runs out of sound.
    static constexpr int kDeviceFrames = 2048;

    ~SdlCallbackOutput() override { stop(); }
    // False when SDL's audio cannot start or no device opens.
    bool start(RenderSource& source, int rate) override;
    void stop() override;
    int method() const override;
    std::uint64_t delivered() const override { return delivered_.load(); }

  private:
    static void callback(void* self, std::uint8_t* stream, int bytes);

    RenderSource* source_ = nullptr;
    std::uint32_t device_ = 0;
    bool subsystem_ = false;
    std::atomic<std::uint64_t> delivered_{0};
};

}  // namespace qa::platform::audio
