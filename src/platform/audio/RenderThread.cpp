// The mix-ahead thread.
#include "platform/audio/RenderThread.h"

#include <algorithm>
#include <chrono>

namespace qa::platform::audio {

void RenderThread::start(RenderSource& source, RenderRing& ring, std::size_t target, int rate) {
    stop();
    source_ = &source;
    ring_ = &ring;
    target_ = target < ring.capacity() ? target : ring.capacity();
    // The thread sleeps while a quarter of the target is played: the ring never falls below three
    // quarters of it in between, and the thread wakes a few dozen times a second rather than
    // hundreds (each wake costs as much as mixing a block). Between 2 and 20 ms.
    const long long quarter = rate > 0 ? static_cast<long long>(target_ / 4) * 1000000 / rate : 0;
    pause_ = std::chrono::microseconds(std::clamp(quarter, 2000LL, 20000LL));
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
    while (!stopping_.load()) {
        try {
            fill();
        } catch (...) {
            // The mix reports its own failures; the thread goes on with the next block.
        }
        std::this_thread::sleep_for(pause_);
    }
}

}  // namespace qa::platform::audio
