// The sound library's operations: handles, errors, loading and the mixer behind one lock. Loading
// and freeing do their slow work outside the lock, so the mix thread never waits on a file.
#include "platform/audio/SoftwareSoundLibrary.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>

#include "platform/Files.h"
#include "platform/audio/PullOutput.h"
#include "platform/audio/SampleSource.h"
#include "platform/audio/decoders/DecoderFactory.h"
#include "platform/audio/decoders/OpenMptModule.h"
#include "platform/audio/null/NullOutput.h"
#include "platform/audio/sdl/SdlOutput.h"

namespace qa::platform::audio {

namespace {

// The largest module file read, and the longest sound decoded whole into memory (in frames).
constexpr std::uint64_t kMaxModuleBytes = 256ull << 20;
constexpr std::uint64_t kMaxSampleFrames = 1ull << 25;

// No exception leaves the library: a failure becomes a result and an error code.
template <class R, class F>
R guarded(std::atomic<int>& error, R failure, F&& body) noexcept {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        error = kErrMemory;
    } catch (...) {
        error = kErrInvalidParameter;
    }
    return failure;
}

template <class H>
H toHandle(std::uintptr_t id) {
    return reinterpret_cast<H>(id);
}

std::uintptr_t toId(const void* handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

bool loops(unsigned mode) {
    return (mode & kModeLoopNormal) != 0 && (mode & kModeLoopOff) == 0;
}

unsigned toUnsigned(std::uint64_t v) {
    return static_cast<unsigned>(std::min<std::uint64_t>(v, std::numeric_limits<unsigned>::max()));
}

}  // namespace

SoftwareSoundLibrary::SoftwareSoundLibrary(OutputKind kind) : kind_(kind) {}

SoftwareSoundLibrary::~SoftwareSoundLibrary() {
    // The output's threads stop before anything they mix goes away.
    if (output_) output_->stop();
}

bool SoftwareSoundLibrary::failed(int code) {
    error_ = code;
    return false;
}

std::uintptr_t SoftwareSoundLibrary::addId() {
    return ++lastId_;
}

Module* SoftwareSoundLibrary::findModule(ModuleHandle handle) {
    auto it = modules_.find(toId(handle));
    if (it == modules_.end()) return failed(kErrInvalidParameter), nullptr;
    return it->second.get();
}

Stream* SoftwareSoundLibrary::findStream(StreamHandle handle) {
    auto it = streams_.find(toId(handle));
    if (it == streams_.end()) return failed(kErrInvalidParameter), nullptr;
    return it->second.get();
}

SampleData* SoftwareSoundLibrary::findSample(SampleHandle handle) {
    auto it = samples_.find(toId(handle));
    if (it == samples_.end()) return failed(kErrInvalidParameter), nullptr;
    return it->second.get();
}

Channel* SoftwareSoundLibrary::findChannel(int channel) {
    Channel* c = mixer_ ? mixer_->find(channel) : nullptr;
    if (!c) failed(kErrInvalidParameter);
    return c;
}

void SoftwareSoundLibrary::forgetLostChannels() {
    for (auto& [id, stream] : streams_) {
        if (stream->channel == -1) continue;
        Channel* c = mixer_->find(stream->channel);
        if (!c || c->owner() != id) stream->channel = -1;
    }
}

// --- start-up ---

float SoftwareSoundLibrary::FSOUND_GetVersion() {
    return kVersion;
}

bool SoftwareSoundLibrary::FSOUND_SetHWND(void* window) {
    std::lock_guard lock(mutex_);
    if (initialised_) return failed(kErrAfterInit);
    window_ = window;
    return true;
}

bool SoftwareSoundLibrary::FSOUND_Init(int mixRate, int softwareChannels, unsigned flags) {
    (void)flags;  // sound always goes on without the input focus
    return guarded(error_, false, [&] {
        {
            std::lock_guard lock(mutex_);
            if (initialised_) return failed(kErrAfterInit);
            if (mixRate < kMinMixRate || mixRate > kMaxMixRate || softwareChannels < 1 ||
                softwareChannels > Mixer::kMaxChannels)
                return failed(kErrInvalidParameter);
            mixer_ = std::make_unique<Mixer>(mixRate, softwareChannels);
            initialised_ = true;
        }
        // Started without the lock: the output mixes its first blocks at once.
        if (!startOutput(mixRate)) {
            std::lock_guard lock(mutex_);
            initialised_ = false;
            mixer_.reset();
            return failed(kErrOutputInit);
        }
        return true;
    });
}

bool SoftwareSoundLibrary::startOutput(int rate) {
    if (kind_ == OutputKind::Pull) {
        auto pull = std::make_unique<PullOutput>();
        pull->start(*this, rate);
        pullOutput_ = pull.get();
        output_ = std::move(pull);
        return true;
    }
    if (kind_ == OutputKind::Device) {
        auto device = std::make_unique<SdlOutput>();
        if (device->start(*this, rate)) {
            output_ = std::move(device);
            return true;
        }
        // Kept until the library goes, so that SDL's audio is shut down then, not now.
        unopenedDevice_ = std::move(device);
    }
    // No device (a build machine, a server): the mix is still consumed in real time.
    auto none = std::make_unique<NullOutput>();
    if (!none->start(*this, rate)) return false;
    output_ = std::move(none);
    return true;
}

int SoftwareSoundLibrary::FSOUND_GetError() {
    return error_.load();
}

int SoftwareSoundLibrary::FSOUND_GetOutput() {
    return output_ ? output_->method() : kOutputNoSound;
}

// --- modules ---

ModuleHandle SoftwareSoundLibrary::FMUSIC_LoadSong(const char* path) {
    return guarded(error_, ModuleHandle{}, [&]() -> ModuleHandle {
        if (!path) return failed(kErrInvalidParameter), nullptr;
        {
            std::lock_guard lock(mutex_);
            if (!initialised_) return failed(kErrNotInitialised), nullptr;
        }
        if (!Files::exists(path)) return failed(kErrFileNotFound), nullptr;
        std::string bytes;
        if (!Files::readAll(path, bytes, kMaxModuleBytes + 1)) return failed(kErrFileLoad), nullptr;
        if (bytes.size() > kMaxModuleBytes) return failed(kErrMemory), nullptr;
        std::unique_ptr<OpenMptModule> song = OpenMptModule::load(bytes);
        if (!song) return failed(kErrFileFormat), nullptr;
        auto module = std::make_unique<Module>(std::move(song));
        std::lock_guard lock(mutex_);
        const std::uintptr_t id = addId();
        mixer_->addModule(module.get());
        modules_.emplace(id, std::move(module));
        return toHandle<ModuleHandle>(id);
    });
}

bool SoftwareSoundLibrary::FMUSIC_FreeSong(ModuleHandle handle) {
    return guarded(error_, false, [&] {
        std::unique_ptr<Module> gone;
        {
            std::lock_guard lock(mutex_);
            auto it = modules_.find(toId(handle));
            if (it == modules_.end()) return failed(kErrInvalidParameter);
            mixer_->removeModule(it->second.get());
            gone = std::move(it->second);
            modules_.erase(it);
        }
        return true;  // destroyed here, without the lock
    });
}

bool SoftwareSoundLibrary::FMUSIC_PlaySong(ModuleHandle handle) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    if (!m) return false;
    m->play();
    return true;
}

bool SoftwareSoundLibrary::FMUSIC_StopSong(ModuleHandle handle) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    if (!m) return false;
    m->stop();
    return true;
}

bool SoftwareSoundLibrary::FMUSIC_IsPlaying(ModuleHandle handle) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    return m && m->playing();
}

bool SoftwareSoundLibrary::FMUSIC_SetPaused(ModuleHandle handle, bool paused) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    if (!m) return false;
    m->setPaused(paused);
    return true;
}

bool SoftwareSoundLibrary::FMUSIC_GetPaused(ModuleHandle handle) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    return m && m->paused();
}

bool SoftwareSoundLibrary::FMUSIC_SetLooping(ModuleHandle handle, bool looping) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    if (!m) return false;
    m->setLooping(looping);
    return true;
}

bool SoftwareSoundLibrary::FMUSIC_SetMasterVolume(ModuleHandle handle, int volume) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    if (!m) return false;
    m->setVolume(std::clamp(volume, 0, 256));
    return true;
}

int SoftwareSoundLibrary::FMUSIC_GetMasterVolume(ModuleHandle handle) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    return m ? m->volume() : 0;
}

bool SoftwareSoundLibrary::FMUSIC_SetMasterSpeed(ModuleHandle handle, float speed) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    if (!m) return false;
    return m->setSpeed(speed) || failed(kErrInvalidParameter);
}

int SoftwareSoundLibrary::FMUSIC_GetNumOrders(ModuleHandle handle) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    return m ? std::max(0, m->orderCount()) : 0;
}

int SoftwareSoundLibrary::FMUSIC_GetOrder(ModuleHandle handle) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    return m ? std::max(0, m->order()) : 0;
}

bool SoftwareSoundLibrary::FMUSIC_SetOrder(ModuleHandle handle, int order) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    if (!m) return false;
    return m->setOrder(order) || failed(kErrInvalidParameter);
}

int SoftwareSoundLibrary::FMUSIC_GetTime(ModuleHandle handle) {
    std::lock_guard lock(mutex_);
    Module* m = findModule(handle);
    if (!m) return 0;
    const std::uint64_t ms = m->framesPlayed() * 1000 / static_cast<std::uint64_t>(mixer_->rate());
    return static_cast<int>(std::min<std::uint64_t>(ms, std::numeric_limits<int>::max()));
}

// --- streams ---

StreamHandle SoftwareSoundLibrary::FSOUND_Stream_OpenFile(const char* path, unsigned mode, int length) {
    return guarded(error_, StreamHandle{}, [&]() -> StreamHandle {
        if (!path || length != 0) return failed(kErrInvalidParameter), nullptr;
        {
            std::lock_guard lock(mutex_);
            if (!initialised_) return failed(kErrNotInitialised), nullptr;
        }
        int error = kErrNone;
        std::unique_ptr<Decoder> decoder = DecoderFactory::open(path, error);
        if (!decoder) return failed(error), nullptr;
        auto stream = std::make_shared<Stream>(std::move(decoder));
        stream->setLoop(loops(mode));
        std::lock_guard lock(mutex_);
        const std::uintptr_t id = addId();
        streams_.emplace(id, std::move(stream));
        return toHandle<StreamHandle>(id);
    });
}

bool SoftwareSoundLibrary::FSOUND_Stream_SetLoopCount(StreamHandle handle, int count) {
    std::lock_guard lock(mutex_);
    Stream* s = findStream(handle);
    if (!s) return false;
    s->setLoopCount(count < 0 ? -1 : count);
    return true;
}

bool SoftwareSoundLibrary::FSOUND_Stream_SetEndCallback(StreamHandle handle, StreamEndCallback callback,
                                                        void* user) {
    std::lock_guard lock(mutex_);
    Stream* s = findStream(handle);
    if (!s) return false;
    s->callback = callback;
    s->user = user;
    return true;
}

int SoftwareSoundLibrary::FSOUND_Stream_Play(int channel, StreamHandle handle) {
    return guarded(error_, -1, [&] {
        std::lock_guard lock(mutex_);
        auto it = streams_.find(toId(handle));
        if (it == streams_.end()) return failed(kErrInvalidParameter), -1;
        Stream& s = *it->second;
        // A stream plays on one channel at a time; one that played to its end starts again.
        if (s.channel != -1) mixer_->stop(s.channel);
        s.channel = -1;
        if (s.ended && !s.rewind()) return failed(kErrPlay), -1;
        const int number = mixer_->start(channel, it->second, it->first, 256, 128);
        if (number == -1) return failed(channel < -1 ? kErrInvalidParameter : kErrChannelAlloc), -1;
        if (channel != kAnyChannel) forgetLostChannels();
        s.channel = number;
        return number;
    });
}

bool SoftwareSoundLibrary::FSOUND_Stream_Stop(StreamHandle handle) {
    std::lock_guard lock(mutex_);
    Stream* s = findStream(handle);
    if (!s) return false;
    if (s->channel != -1) mixer_->stop(s->channel);
    s->channel = -1;
    s->rewind();
    return true;
}

bool SoftwareSoundLibrary::FSOUND_Stream_Close(StreamHandle handle) {
    return guarded(error_, false, [&] {
        std::shared_ptr<Stream> gone;
        {
            std::unique_lock lock(mutex_);
            const std::uintptr_t id = toId(handle);
            auto it = streams_.find(id);
            if (it == streams_.end()) return failed(kErrInvalidParameter);
            gone = std::move(it->second);
            streams_.erase(it);
            mixer_->stopOwner(id);
            // Its end notification may be running on the mix thread with the user value the caller
            // is about to destroy: wait for it (unless it is this very notification closing it).
            dispatched_.wait(
                lock, [&] { return dispatching_ != id || dispatchThread_ == std::this_thread::get_id(); });
        }
        return true;  // the decoder is destroyed here, without the lock
    });
}

bool SoftwareSoundLibrary::FSOUND_Stream_SetPosition(StreamHandle handle, unsigned position) {
    std::lock_guard lock(mutex_);
    Stream* s = findStream(handle);
    if (!s) return false;
    Channel* c = s->channel != -1 ? mixer_->find(s->channel) : nullptr;
    const bool moved = c ? c->setPosition(position) : s->seek(position);
    if (!moved) return failed(kErrInvalidParameter);
    s->ended = false;
    return true;
}

unsigned SoftwareSoundLibrary::FSOUND_Stream_GetPosition(StreamHandle handle) {
    std::lock_guard lock(mutex_);
    Stream* s = findStream(handle);
    if (!s) return 0;
    Channel* c = s->channel != -1 ? mixer_->find(s->channel) : nullptr;
    return toUnsigned(c ? c->position() : s->position());
}

// --- samples ---

SampleHandle SoftwareSoundLibrary::FSOUND_Sample_Load(int index, const char* path, unsigned mode,
                                                      int offset) {
    return guarded(error_, SampleHandle{}, [&]() -> SampleHandle {
        // Every load makes a new sample; slot numbers are accepted but not kept.
        if (!path || index < -1 || offset != 0) return failed(kErrInvalidParameter), nullptr;
        {
            std::lock_guard lock(mutex_);
            if (!initialised_) return failed(kErrNotInitialised), nullptr;
        }
        int error = kErrNone;
        std::unique_ptr<Decoder> decoder = DecoderFactory::open(path, error);
        if (!decoder) return failed(error), nullptr;
        auto data = std::make_shared<SampleData>();
        data->rate = decoder->rate();
        data->loop = loops(mode);
        if (decoder->length() > 0 && decoder->length() <= kMaxSampleFrames)
            data->frames.reserve(static_cast<std::size_t>(decoder->length()) * 2);
        float block[4096 * 2];
        for (;;) {
            const std::size_t n = decoder->readStereo(block, 4096);
            if (n == 0) break;
            if (data->length + n > kMaxSampleFrames) return failed(kErrMemory), nullptr;
            data->frames.insert(data->frames.end(), block, block + 2 * n);
            data->length += n;
        }
        std::lock_guard lock(mutex_);
        const std::uintptr_t id = addId();
        samples_.emplace(id, std::move(data));
        return toHandle<SampleHandle>(id);
    });
}

bool SoftwareSoundLibrary::FSOUND_Sample_GetDefaults(SampleHandle handle, int* frequency, int* volume,
                                                     int* pan, int* priority) {
    std::lock_guard lock(mutex_);
    SampleData* s = findSample(handle);
    if (!s) return false;
    if (frequency) *frequency = s->rate;
    if (volume) *volume = s->volume;
    if (pan) *pan = s->pan;
    if (priority) *priority = s->priority;
    return true;
}

bool SoftwareSoundLibrary::FSOUND_Sample_SetMode(SampleHandle handle, unsigned mode) {
    std::lock_guard lock(mutex_);
    SampleData* s = findSample(handle);
    if (!s) return false;
    s->loop = loops(mode);
    return true;
}

unsigned SoftwareSoundLibrary::FSOUND_Sample_GetLength(SampleHandle handle) {
    std::lock_guard lock(mutex_);
    SampleData* s = findSample(handle);
    return s ? toUnsigned(s->length) : 0;
}

bool SoftwareSoundLibrary::FSOUND_Sample_Free(SampleHandle handle) {
    return guarded(error_, false, [&] {
        std::shared_ptr<SampleData> gone;
        {
            std::lock_guard lock(mutex_);
            const std::uintptr_t id = toId(handle);
            auto it = samples_.find(id);
            if (it == samples_.end()) return failed(kErrInvalidParameter);
            gone = std::move(it->second);
            samples_.erase(it);
            mixer_->stopOwner(id);
        }
        return true;
    });
}

int SoftwareSoundLibrary::FSOUND_PlaySound(int channel, SampleHandle handle) {
    return guarded(error_, -1, [&] {
        std::lock_guard lock(mutex_);
        auto it = samples_.find(toId(handle));
        if (it == samples_.end()) return failed(kErrInvalidParameter), -1;
        const SampleData& data = *it->second;
        const int number = mixer_->start(channel, std::make_shared<SampleSource>(it->second), it->first,
                                         data.volume, data.pan);
        if (number == -1) return failed(channel < -1 ? kErrInvalidParameter : kErrChannelAlloc), -1;
        if (channel != kAnyChannel) forgetLostChannels();
        return number;
    });
}

bool SoftwareSoundLibrary::FSOUND_StopSound(int channel) {
    std::lock_guard lock(mutex_);
    Channel* c = findChannel(channel);
    if (!c) return false;
    auto it = streams_.find(c->owner());
    if (it != streams_.end()) it->second->channel = -1;  // stopped, not ended: it keeps its place
    c->release();
    return true;
}

// --- channels ---

bool SoftwareSoundLibrary::FSOUND_IsPlaying(int channel) {
    std::lock_guard lock(mutex_);
    return mixer_ && mixer_->find(channel) != nullptr;
}

bool SoftwareSoundLibrary::FSOUND_SetPaused(int channel, bool paused) {
    std::lock_guard lock(mutex_);
    Channel* c = findChannel(channel);
    if (!c) return false;
    c->paused = paused;
    return true;
}

bool SoftwareSoundLibrary::FSOUND_GetPaused(int channel) {
    std::lock_guard lock(mutex_);
    Channel* c = findChannel(channel);
    return c && c->paused;
}

bool SoftwareSoundLibrary::FSOUND_SetVolume(int channel, int volume) {
    std::lock_guard lock(mutex_);
    Channel* c = findChannel(channel);
    if (!c) return false;
    c->volume = std::clamp(volume, 0, 256);
    return true;
}

bool SoftwareSoundLibrary::FSOUND_SetFrequency(int channel, int frequency) {
    return guarded(error_, false, [&] {
        std::lock_guard lock(mutex_);
        Channel* c = findChannel(channel);
        if (!c) return false;
        return c->setFrequency(frequency) || failed(kErrInvalidParameter);
    });
}

bool SoftwareSoundLibrary::FSOUND_SetPan(int channel, int pan) {
    std::lock_guard lock(mutex_);
    Channel* c = findChannel(channel);
    if (!c) return false;
    c->pan = std::clamp(pan, 0, 255);
    return true;
}

bool SoftwareSoundLibrary::FSOUND_SetCurrentPosition(int channel, unsigned position) {
    std::lock_guard lock(mutex_);
    Channel* c = findChannel(channel);
    if (!c) return false;
    return c->setPosition(position) || failed(kErrInvalidParameter);
}

unsigned SoftwareSoundLibrary::FSOUND_GetCurrentPosition(int channel) {
    std::lock_guard lock(mutex_);
    Channel* c = findChannel(channel);
    return c ? toUnsigned(c->position()) : 0;
}

bool SoftwareSoundLibrary::FSOUND_SetLoopMode(int channel, unsigned mode) {
    std::lock_guard lock(mutex_);
    Channel* c = findChannel(channel);
    if (!c) return false;
    c->setLoop(loops(mode));
    return true;
}

// --- mixing ---

void SoftwareSoundLibrary::pull(float* out, std::size_t frames) {
    if (pullOutput_) {
        pullOutput_->pull(out, frames);
        return;
    }
    std::fill(out, out + 2 * frames, 0.0f);
}

std::uint64_t SoftwareSoundLibrary::underruns() const {
    return output_ ? output_->underruns() : 0;
}

void SoftwareSoundLibrary::render(float* out, std::size_t frames) {
    std::vector<std::uintptr_t> ended;
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(frames - done, kBlock);
        float* block = out + 2 * done;
        done += n;
        std::unique_lock lock(mutex_);
        if (!mixer_) {
            std::fill(block, block + 2 * n, 0.0f);
            continue;
        }
        try {
            mixer_->render(block, n, ended_);
            if (ended_.empty()) continue;
            ended.swap(ended_);
            ended_.clear();
            finishStreams(lock, ended);
            ended.clear();
        } catch (...) {
            // Out of memory while noting the ended streams: the block stays as mixed.
            ended_.clear();
        }
    }
}

void SoftwareSoundLibrary::finishStreams(std::unique_lock<std::mutex>& lock,
                                         const std::vector<std::uintptr_t>& ended) {
    for (std::uintptr_t id : ended) {
        auto it = streams_.find(id);
        if (it == streams_.end()) continue;  // a sample's channel
        it->second->channel = -1;
        it->second->ended = true;
    }
    // Each notification runs without the lock, so that it may call the library; a stream closed
    // meanwhile is skipped.
    for (std::uintptr_t id : ended) {
        auto it = streams_.find(id);
        if (it == streams_.end() || !it->second->callback) continue;
        const StreamEndCallback callback = it->second->callback;
        void* user = it->second->user;
        dispatching_ = id;
        dispatchThread_ = std::this_thread::get_id();
        lock.unlock();
        try {
            callback(toHandle<StreamHandle>(id), nullptr, 0, user);
        } catch (...) {
        }
        lock.lock();
        dispatching_ = 0;
        dispatched_.notify_all();
    }
}

}  // namespace qa::platform::audio
