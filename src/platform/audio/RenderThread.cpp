// The mix-ahead thread.
#include "platform/audio/RenderThread.h"

#include <chrono>

namespace qa::platform::audio {

void RenderThread::start(RenderSource& source, RenderRing& ring, std::size_t target) {
    stop();
    source_ = &source;
    ring_ = &ring;
    target_ = target < ring.capacity() ? target : ring.capacity();
    stopping_ = false;
    fill();
    thread_ = std::thread([this] { run(); });
}

void RenderThread::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

void RenderThread::fill() {
    float block[kBlock * 2];
    while (ring_->available() + kBlock <= target_) {
        source_->render(block, kBlock);
        ring_->write(block, kBlock);
    }
}

void RenderThread::run() {
    // A block is about 6 ms at 44100 Hz; waking every 2 ms keeps the ring near its target.
    while (!stopping_.load()) {
        try {
            fill();
        } catch (...) {
            // The mix reports its own failures; the thread goes on with the next block.
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

}  // namespace qa::platform::audio
