// Sample loading and operations. Decoding happens outside the lock.
#include "platform/audio/SampleBank.h"

#include <cstdio>

#include "platform/audio/SampleSource.h"
#include "platform/audio/decoders/DecoderFactory.h"

namespace qa::platform::audio {

namespace {

// The longest sound decoded whole into memory (in frames).
constexpr std::uint64_t kMaxSampleFrames = 1ull << 25;
// Bytes a decoded frame takes (two floats).
constexpr std::uint64_t kFrameBytes = 2 * sizeof(float);

}  // namespace

SampleHandle SampleBank::load(int index, const char* path, unsigned mode, int offset) {
    return core_.guarded(SampleHandle{}, [&]() -> SampleHandle {
        // Every load makes a new sample; slot numbers are accepted but not kept.
        if (!path || index < -1 || offset != 0) return core_.fail(kErrInvalidParameter), nullptr;
        if (!core_.started()) return nullptr;
        int error = kErrNone;
        std::unique_ptr<Decoder> decoder = DecoderFactory::open(core_.files(), path, error);
        if (!decoder) return core_.fail(error), nullptr;
        auto data = std::make_shared<SampleData>();
        data->rate = decoder->rate();
        data->loop = LibraryCore::loops(mode);
        if (decoder->length() > 0 && decoder->length() <= kMaxSampleFrames)
            data->frames.reserve(static_cast<std::size_t>(decoder->length()) * 2);
        float block[4096 * 2];
        for (;;) {
            const std::size_t n = decoder->readStereo(block, 4096);
            if (n == 0) break;
            if (data->length + n > kMaxSampleFrames) return core_.fail(kErrMemory), nullptr;
            data->frames.insert(data->frames.end(), block, block + 2 * n);
            data->length += n;
        }
        std::lock_guard lock(core_.mutex);
        const std::uint64_t bytes = data->length * kFrameBytes;
        if (heldBytes_ + bytes > kBudgetBytes) {
            std::fprintf(
                stderr,
                "quorvart: the sound %s is not loaded: with it the sounds would take %llu MiB decoded, "
                "beyond the %llu MiB a disk may use\n",
                path, static_cast<unsigned long long>((heldBytes_ + bytes) >> 20),
                static_cast<unsigned long long>(kBudgetBytes >> 20));
            return core_.fail(kErrMemory), nullptr;
        }
        heldBytes_ += bytes;
        return samples_.add(std::move(data));
    });
}

bool SampleBank::defaults(SampleHandle handle, int* frequency, int* volume, int* pan, int* priority) {
    return core_.with(samples_, handle, false, [&](SampleData& s) {
        if (frequency) *frequency = s.rate;
        if (volume) *volume = s.volume;
        if (pan) *pan = s.pan;
        if (priority) *priority = s.priority;
        return true;
    });
}

bool SampleBank::setMode(SampleHandle handle, unsigned mode) {
    return core_.with(samples_, handle, false, [&](SampleData& s) { s.loop = LibraryCore::loops(mode); });
}

unsigned SampleBank::length(SampleHandle handle) {
    return core_.with(samples_, handle, 0u, [](SampleData& s) { return LibraryCore::toUnsigned(s.length); });
}

bool SampleBank::free(SampleHandle handle) {
    return core_.guarded(false, [&] {
        std::shared_ptr<SampleData> gone;
        {
            std::lock_guard lock(core_.mutex);
            gone = samples_.take(handle);
            if (!gone) return core_.fail(kErrInvalidParameter);
            heldBytes_ -= gone->length * kFrameBytes;
            core_.mixer->stopOwner(samples_.idOf(handle));
        }
        return true;  // freed here, without the lock
    });
}

int SampleBank::play(int channel, SampleHandle handle) {
    return core_.guarded(-1, [&] {
        std::lock_guard lock(core_.mutex);
        const std::shared_ptr<SampleData>* owner = samples_.owner(handle);
        if (!owner) return core_.fail(kErrInvalidParameter), -1;
        const SampleData& data = **owner;
        const int number = core_.mixer->start(channel, std::make_shared<SampleSource>(*owner),
                                              samples_.idOf(handle), data.volume, data.pan);
        if (number == -1) return core_.fail(channel < -1 ? kErrInvalidParameter : kErrChannelAlloc), -1;
        if (channel != kAnyChannel) streams_.forgetLostChannels();
        return number;
    });
}

}  // namespace qa::platform::audio
