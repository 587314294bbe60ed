// A sound device through SDL's audio that plays what its owner queues: the page's test mode mixes
// in virtual time, frame by frame, and queues each frame's sound here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qa::platform::audio {

class SdlQueuedDevice {
  public:
    SdlQueuedDevice() = default;
    ~SdlQueuedDevice();
    SdlQueuedDevice(const SdlQueuedDevice&) = delete;
    SdlQueuedDevice& operator=(const SdlQueuedDevice&) = delete;

    // Opens the device for interleaved stereo floats at `rate`; false when none opens.
    bool open(int rate);
    // Queues `frames` frames; false when the device is not open or refuses them.
    bool queue(const float* samples, std::size_t frames);
    // Frames queued so far.
    std::uint64_t queued() const { return queued_; }

  private:
    std::uint32_t device_ = 0;
    bool subsystem_ = false;
    std::uint64_t queued_ = 0;
};

}  // namespace qa::platform::audio
