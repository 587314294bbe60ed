// Real-time consumption without a device.
#include "platform/audio/null/NullOutput.h"

#include <chrono>
#include <vector>

#include "platform/audio/SoundLibrary.h"

namespace qa::platform::audio {

namespace {
// Mixed ahead: about 90 ms at 44100 Hz. Nobody hears this output, so depth costs nothing.
constexpr std::size_t kTargetFrames = 4096;
constexpr auto kTick = std::chrono::milliseconds(20);
}  // namespace

NullOutput::NullOutput() : ring_(16384) {}

bool NullOutput::start(RenderSource& source, int rate) {
    stop();
    rate_ = rate;
    stopping_ = false;
    mixer_.start(source, ring_, kTargetFrames, rate);
    thread_ = std::thread([this] { consume(); });
    return true;
}

void NullOutput::stop() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    mixer_.stop();
}

int NullOutput::method() const {
    return kOutputNoSound;
}

void NullOutput::consume() {
    using Clock = std::chrono::steady_clock;
    std::vector<float> sink(ring_.capacity() * 2);
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
        if (due <= taken) continue;
        std::size_t want = static_cast<std::size_t>(due - taken);
        // Time runs on whether or not the frames were ready, as a device's clock would.
        taken = due;
        bool short_ = false;
        while (want > 0) {
            const std::size_t chunk = want < ring_.capacity() ? want : ring_.capacity();
            const std::size_t got = ring_.read(sink.data(), chunk);
            if (got < chunk) short_ = true;
            want -= chunk;
        }
        if (short_) underruns_.fetch_add(1);
        if (Clock::now() - next > std::chrono::milliseconds(100)) next = Clock::now();  // woke far too late
    }
}

}  // namespace qa::platform::audio
