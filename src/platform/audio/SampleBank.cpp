// Sample loading and operations. Decoding happens outside the lock; a file is decoded once for all
// the samples that hold it.
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
        const bool loop = LibraryCore::loops(mode);
        // Every spelling of one file shares one decoded sound while a sample holds it.
        const std::string fileKey = core_.files().fileKey(path);
        const FileStamp stamp = fileKey.empty() ? FileStamp{} : core_.files().stamp(path);
        if (!fileKey.empty()) {
            std::lock_guard lock(core_.mutex);
            if (std::shared_ptr<DecodedSound> held = heldSound(fileKey, stamp)) return adopt(held, loop);
        }
        int error = kErrNone;
        std::unique_ptr<Decoder> decoder = DecoderFactory::open(core_.files(), path, error);
        if (!decoder) return core_.fail(error), nullptr;
        auto sound = std::make_shared<DecodedSound>();
        sound->rate = decoder->rate();
        sound->fileKey = fileKey;
        sound->stamp = stamp;
        if (decoder->length() > 0 && decoder->length() <= kMaxSampleFrames)
            sound->frames.reserve(static_cast<std::size_t>(decoder->length()) * 2);
        float block[4096 * 2];
        for (;;) {
            const std::size_t n = decoder->readStereo(block, 4096);
            if (n == 0) break;
            if (sound->length + n > kMaxSampleFrames) return core_.fail(kErrMemory), nullptr;
            sound->frames.insert(sound->frames.end(), block, block + 2 * n);
            sound->length += n;
        }
        std::lock_guard lock(core_.mutex);
        if (!fileKey.empty()) {
            // Another load of the same file may have finished while this one decoded.
            if (std::shared_ptr<DecodedSound> held = heldSound(fileKey, stamp)) return adopt(held, loop);
        }
        const std::uint64_t bytes = sound->length * kFrameBytes;
        if (heldBytes_ + bytes > kBudgetBytes) {
            std::fprintf(
                stderr,
                "quorvart: the sound %s is not loaded: with it the sounds would take %llu MiB decoded, "
                "beyond the %llu MiB a disk may use\n",
                path, static_cast<unsigned long long>((heldBytes_ + bytes) >> 20),
                static_cast<unsigned long long>(kBudgetBytes >> 20));
            return core_.fail(kErrMemory), nullptr;
        }
        const SampleHandle handle = adopt(sound, loop);
        if (!fileKey.empty()) {
            try {
                sounds_.insert_or_assign(fileKey, std::move(sound));
            } catch (const std::bad_alloc&) {
                // The sample stands; later loads of its file decode their own.
            }
        }
        return handle;
    });
}

std::shared_ptr<DecodedSound> SampleBank::heldSound(const std::string& fileKey,
                                                    const FileStamp& stamp) const {
    auto it = sounds_.find(fileKey);
    if (it == sounds_.end()) return nullptr;
    // A file changed since it was decoded is decoded again; a source that cannot tell (an archive,
    // whose files never change while it is open) shares by the key alone.
    const FileStamp& then = it->second->stamp;
    return then.sameAs(stamp) || (!then.known && !stamp.known) ? it->second : nullptr;
}

SampleHandle SampleBank::adopt(const std::shared_ptr<DecodedSound>& sound, bool loop) {
    auto data = std::make_shared<SampleData>();
    data->sound = sound;
    data->loop = loop;
    const SampleHandle handle = samples_.add(std::move(data));
    if (sound->samples++ == 0) heldBytes_ += sound->length * kFrameBytes;
    return handle;
}

bool SampleBank::defaults(SampleHandle handle, int* frequency, int* volume, int* pan, int* priority) {
    return core_.with(samples_, handle, false, [&](SampleData& s) {
        if (frequency) *frequency = s.sound->rate;
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
    return core_.with(samples_, handle, 0u,
                      [](SampleData& s) { return LibraryCore::toUnsigned(s.sound->length); });
}

bool SampleBank::free(SampleHandle handle) {
    return core_.guarded(false, [&] {
        std::shared_ptr<SampleData> gone;
        {
            std::lock_guard lock(core_.mutex);
            gone = samples_.take(handle);
            if (!gone) return core_.fail(kErrInvalidParameter);
            core_.mixer->stopOwner(samples_.idOf(handle));
            DecodedSound& sound = *gone->sound;
            if (--sound.samples == 0) {
                heldBytes_ -= sound.length * kFrameBytes;
                auto shelved = sounds_.find(sound.fileKey);
                if (shelved != sounds_.end() && shelved->second == gone->sound) sounds_.erase(shelved);
            }
        }
        return true;  // the sound is freed here, without the lock, when no other sample holds it
    });
}

int SampleBank::play(int channel, SampleHandle handle) {
    return core_.guarded(-1, [&] {
        std::lock_guard lock(core_.mutex);
        const std::shared_ptr<SampleData>* owner = samples_.owner(handle);
        if (!owner) return core_.fail(kErrInvalidParameter), -1;
        const SampleData& data = **owner;
        const int number = core_.mixer->start(channel, std::make_shared<SampleSource>(data.sound, data.loop),
                                              samples_.idOf(handle), data.volume, data.pan);
        if (number == -1) return core_.fail(channel < -1 ? kErrInvalidParameter : kErrChannelAlloc), -1;
        if (channel != kAnyChannel) streams_.forgetLostChannels();
        return number;
    });
}

}  // namespace qa::platform::audio
