// Mixes ahead on a thread of its own and keeps a ring filled to a target depth, so that a
// real-time consumer only copies frames; the consumer says when it took some, and the thread tops
// the ring up then (rather than looking at it hundreds of times a second).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>

#include "platform/audio/RenderRing.h"
#include "platform/audio/RenderSource.h"

namespace qa::platform::audio {

class RenderThread {
  public:
    static constexpr std::size_t kBlock = 256;

    ~RenderThread() { stop(); }
    // Fills `ring` to `target` frames at once, then keeps it there until stop().
    void start(RenderSource& source, RenderRing& ring, std::size_t target);
    void stop();
    // The consumer took frames from the ring. A wake-up without any lock or waiting, so the
    // real-time consumer may call it.
    void consumed() {
        taken_.fetch_add(1, std::memory_order_release);
        taken_.notify_one();
    }

  private:
    void fill();
    void run();

    RenderSource* source_ = nullptr;
    RenderRing* ring_ = nullptr;
    std::size_t target_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint32_t> taken_{0};
    std::thread thread_;
};

}  // namespace qa::platform::audio
