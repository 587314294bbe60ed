// Mixes ahead on a thread of its own and keeps a ring filled to a target depth, so that a
// real-time consumer only copies frames.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <thread>

#include "platform/audio/RenderRing.h"
#include "platform/audio/RenderSource.h"

namespace qa::platform::audio {

class RenderThread {
  public:
    static constexpr std::size_t kBlock = 256;

    ~RenderThread() { stop(); }
    // Fills `ring` to `target` frames at once, then keeps it there until stop(); the ring is read at
    // `rate` frames a second.
    void start(RenderSource& source, RenderRing& ring, std::size_t target, int rate);
    void stop();

  private:
    void fill();
    void run();

    RenderSource* source_ = nullptr;
    RenderRing* ring_ = nullptr;
    std::size_t target_ = 0;
    std::chrono::microseconds pause_{2000};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace qa::platform::audio
