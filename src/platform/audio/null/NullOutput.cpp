// Real-time consumption without a device.
#include "platform/audio/null/NullOutput.h"

#include <chrono>

#include "platform/audio/SoundLibrary.h"

namespace qa::platform::audio {

namespace {
// Mixed ahead: about 90 ms at 44100 Hz. Nobody hears this output, so depth costs nothing.
constexpr std::uint64_t kTargetFrames = 4096;
constexpr std::size_t kBlock = 256;
// One wake per tick does both the taking and the mixing: each wake costs about as much as the
// mixing it does (the mix's working set is cold by then), so they are few.
constexpr auto kTick = std::chrono::milliseconds(40);
}  // namespace

bool NullOutput::start(RenderSource& source, int rate) {
    stop();
    source_ = &source;
    rate_ = rate;
    ahead_ = 0;
    stopping_ = false;
    mixAhead();  // the first blocks are mixed at once
    thread_ = std::thread([this] { run(); });
    return true;
}

void NullOutput::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

int NullOutput::method() const {
    return kOutputNoSound;
}

void NullOutput::mixAhead() {
    float block[kBlock * 2];
    while (ahead_ + kBlock <= kTargetFrames) {
        source_->render(block, kBlock);
        ahead_ += kBlock;
    }
}

void NullOutput::run() {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point begin = Clock::now();
    std::uint64_t taken = 0;
    Clock::time_point next = begin;
    while (!stopping_.load()) {
        next += kTick;
        std::this_thread::sleep_until(next);
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - begin).count();
        const std::uint64_t due =
            static_cast<std::uint64_t>(elapsed) * static_cast<std::uint64_t>(rate_) / 1000000;
        if (due > taken) {
            // Time runs on whether or not the frames were ready, as a device's clock would.
            const std::uint64_t want = due - taken;
            taken = due;
            if (want > ahead_) underruns_.fetch_add(1);
            ahead_ -= want < ahead_ ? want : ahead_;
        }
        try {
            mixAhead();
        } catch (...) {
            // The mix reports its own failures; the output goes on with the next tick.
        }
        if (Clock::now() - next > std::chrono::milliseconds(100)) next = Clock::now();  // woke far too late
    }
}

}  // namespace qa::platform::audio
