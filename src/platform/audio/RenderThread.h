// Mixes ahead on a thread of its own and keeps a ring filled to a target depth, so that a
// real-time consumer only copies frames.
#pragma once

#include <atomic>
#include <cstddef>
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

  private:
    void fill();
    void run();

    RenderSource* source_ = nullptr;
    RenderRing* ring_ = nullptr;
    std::size_t target_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace qa::platform::audio
