// A lock-free ring of interleaved stereo frames between one producer thread and one consumer
// thread (the real-time one): no allocation, no lock, no waiting.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qa::platform::audio {

class RenderRing {
  public:
    // Capacity in frames, rounded up to a power of two.
    explicit RenderRing(std::size_t frames);

    std::size_t capacity() const { return mask_ + 1; }
    // Frames waiting to be read.
    std::size_t available() const;
    // Producer: writes up to `frames` frames; the number written.
    std::size_t write(const float* in, std::size_t frames);
    // Consumer: reads up to `frames` frames; the number read.
    std::size_t read(float* out, std::size_t frames);

  private:
    std::vector<float> data_;
    std::size_t mask_;
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::uint64_t> read_{0};
};

}  // namespace qa::platform::audio
