// The single-producer, single-consumer frame ring.
#include "platform/audio/RenderRing.h"

#include <algorithm>
#include <cstring>

namespace qa::platform::audio {

namespace {
std::size_t roundUp(std::size_t n) {
    std::size_t p = 1;
    while (p < n) p <<= 1;
    return p;
}
}  // namespace

RenderRing::RenderRing(std::size_t frames) : data_(roundUp(frames) * 2), mask_(roundUp(frames) - 1) {}

std::size_t RenderRing::available() const {
    return static_cast<std::size_t>(written_.load(std::memory_order_acquire) -
                                    read_.load(std::memory_order_acquire));
}

std::size_t RenderRing::write(const float* in, std::size_t frames) {
    const std::uint64_t w = written_.load(std::memory_order_relaxed);
    const std::uint64_t r = read_.load(std::memory_order_acquire);
    const std::size_t n = std::min(frames, capacity() - static_cast<std::size_t>(w - r));
    for (std::size_t done = 0; done < n;) {
        const std::size_t at = static_cast<std::size_t>((w + done) & mask_);
        const std::size_t run = std::min(n - done, capacity() - at);
        std::memcpy(&data_[2 * at], in + 2 * done, run * 2 * sizeof(float));
        done += run;
    }
    written_.store(w + n, std::memory_order_release);
    return n;
}

std::size_t RenderRing::read(float* out, std::size_t frames) {
    const std::uint64_t r = read_.load(std::memory_order_relaxed);
    const std::uint64_t w = written_.load(std::memory_order_acquire);
    const std::size_t n = std::min(frames, static_cast<std::size_t>(w - r));
    for (std::size_t done = 0; done < n;) {
        const std::size_t at = static_cast<std::size_t>((r + done) & mask_);
        const std::size_t run = std::min(n - done, capacity() - at);
        std::memcpy(out + 2 * done, &data_[2 * at], run * 2 * sizeof(float));
        done += run;
    }
    read_.store(r + n, std::memory_order_release);
    return n;
}

}  // namespace qa::platform::audio
