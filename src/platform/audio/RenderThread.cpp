// The mix-ahead thread.
#include "platform/audio/RenderThread.h"

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
    consumed();  // wakes the thread so that it sees the stop
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
    while (!stopping_.load()) {
        // Noted before filling, so that frames taken meanwhile wake the thread again at once.
        const std::uint32_t seen = taken_.load(std::memory_order_acquire);
        try {
            fill();
        } catch (...) {
            // The mix reports its own failures; the thread goes on with the next block.
        }
        if (stopping_.load()) break;
        taken_.wait(seen, std::memory_order_acquire);
    }
}

}  // namespace qa::platform::audio
