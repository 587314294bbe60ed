// The sound library's operations: handles, errors, loading and the mixer behind one lock. Loading
// and freeing do their slow work outside the lock, so the mix thread never waits on a file.
#include "platform/audio/SoftwareSoundLibrary.h"

#include <algorithm>
#include <limits>
#include <new>
#include <type_traits>

#include "platform/audio/PullOutput.h"
#include "platform/audio/SampleSource.h"
#include "platform/audio/decoders/DecoderFactory.h"
#include "platform/audio/decoders/OpenMptModule.h"
#include "platform/file/FolderSource.h"

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

// An operation's result: what the body gives, or success for a body that only acts.
template <class R, class F, class T>
R outcome(F& body, T& object) {
    if constexpr (std::is_void_v<std::invoke_result_t<F&, T&>>) {
        body(object);
        return R(true);
    } else {
        return body(object);
    }
}

bool loops(unsigned mode) {
    return (mode & kModeLoopNormal) != 0 && (mode & kModeLoopOff) == 0;
}

unsigned toUnsigned(std::uint64_t v) {
    return static_cast<unsigned>(std::min<std::uint64_t>(v, std::numeric_limits<unsigned>::max()));
}

}  // namespace

SoftwareSoundLibrary::SoftwareSoundLibrary(std::unique_ptr<OutputFactory> outputs,
                                           std::shared_ptr<FileSource> files)
    : outputs_(std::move(outputs)),
      files_(files ? std::move(files) : std::make_shared<file::FolderSource>()) {}

SoftwareSoundLibrary::SoftwareSoundLibrary(OutputKind kind, std::shared_ptr<FileSource> files)
    : SoftwareSoundLibrary(std::make_unique<OutputFactory>(kind), std::move(files)) {}

SoftwareSoundLibrary::~SoftwareSoundLibrary() {
    // The output's threads stop before anything they mix goes away.
    if (output_) output_->stop();
}

bool SoftwareSoundLibrary::failed(int code) {
    error_ = code;
    return false;
}

template <class Table, class Handle, class R, class F>
R SoftwareSoundLibrary::with(Table& table, Handle handle, R failure, F&& body) {
    return guarded(error_, failure, [&]() -> R {
        std::lock_guard lock(mutex_);
        auto* object = table.find(handle);
        if (!object) return failed(kErrInvalidParameter), failure;
        return outcome<R>(body, *object);
    });
}

template <class R, class F>
R SoftwareSoundLibrary::withChannel(int channel, R failure, F&& body) {
    return guarded(error_, failure, [&]() -> R {
        std::lock_guard lock(mutex_);
        Channel* c = mixer_ ? mixer_->find(channel) : nullptr;
        if (!c) return failed(kErrInvalidParameter), failure;
        return outcome<R>(body, *c);
    });
}

void SoftwareSoundLibrary::forgetLostChannels() {
    streams_.forEach([&](std::uintptr_t id, Stream& stream) {
        if (stream.channel == -1) return;
        Channel* c = mixer_->find(stream.channel);
        if (!c || c->owner() != id) stream.channel = -1;
    });
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
        std::unique_ptr<Output> output = outputs_->start(*this, mixRate);
        if (!output) {
            std::lock_guard lock(mutex_);
            initialised_ = false;
            mixer_.reset();
            return failed(kErrOutputInit);
        }
        pullOutput_ = dynamic_cast<PullOutput*>(output.get());
        output_ = std::move(output);
        return true;
    });
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
        if (!files_->exists(path)) return failed(kErrFileNotFound), nullptr;
        std::unique_ptr<InputStream> file = files_->open(path);
        if (!file) return failed(kErrFileLoad), nullptr;
        if (static_cast<std::uint64_t>(file->size()) > kMaxModuleBytes) return failed(kErrMemory), nullptr;
        std::unique_ptr<OpenMptModule> song = OpenMptModule::load(*file);
        if (!song) return failed(kErrFileFormat), nullptr;
        auto module = std::make_unique<Module>(std::move(song));
        std::lock_guard lock(mutex_);
        mixer_->addModule(module.get());
        return modules_.add(std::move(module));
    });
}

bool SoftwareSoundLibrary::FMUSIC_FreeSong(ModuleHandle handle) {
    return guarded(error_, false, [&] {
        std::unique_ptr<Module> gone;
        {
            std::lock_guard lock(mutex_);
            gone = modules_.take(handle);
            if (!gone) return failed(kErrInvalidParameter);
            mixer_->removeModule(gone.get());
        }
        return true;  // destroyed here, without the lock
    });
}

bool SoftwareSoundLibrary::FMUSIC_PlaySong(ModuleHandle handle) {
    return with(modules_, handle, false, [](Module& m) { m.play(); });
}

bool SoftwareSoundLibrary::FMUSIC_StopSong(ModuleHandle handle) {
    return with(modules_, handle, false, [](Module& m) { m.stop(); });
}

bool SoftwareSoundLibrary::FMUSIC_IsPlaying(ModuleHandle handle) {
    return with(modules_, handle, false, [](Module& m) { return m.playing(); });
}

bool SoftwareSoundLibrary::FMUSIC_SetPaused(ModuleHandle handle, bool paused) {
    return with(modules_, handle, false, [&](Module& m) { m.setPaused(paused); });
}

bool SoftwareSoundLibrary::FMUSIC_GetPaused(ModuleHandle handle) {
    return with(modules_, handle, false, [](Module& m) { return m.paused(); });
}

bool SoftwareSoundLibrary::FMUSIC_SetLooping(ModuleHandle handle, bool looping) {
    return with(modules_, handle, false, [&](Module& m) { m.setLooping(looping); });
}

bool SoftwareSoundLibrary::FMUSIC_SetMasterVolume(ModuleHandle handle, int volume) {
    return with(modules_, handle, false, [&](Module& m) { m.setVolume(std::clamp(volume, 0, 256)); });
}

int SoftwareSoundLibrary::FMUSIC_GetMasterVolume(ModuleHandle handle) {
    return with(modules_, handle, 0, [](Module& m) { return m.volume(); });
}

bool SoftwareSoundLibrary::FMUSIC_SetMasterSpeed(ModuleHandle handle, float speed) {
    return with(modules_, handle, false,
                [&](Module& m) { return m.setSpeed(speed) || failed(kErrInvalidParameter); });
}

int SoftwareSoundLibrary::FMUSIC_GetNumOrders(ModuleHandle handle) {
    return with(modules_, handle, 0, [](Module& m) { return std::max(0, m.orderCount()); });
}

int SoftwareSoundLibrary::FMUSIC_GetOrder(ModuleHandle handle) {
    return with(modules_, handle, 0, [](Module& m) { return std::max(0, m.order()); });
}

bool SoftwareSoundLibrary::FMUSIC_SetOrder(ModuleHandle handle, int order) {
    return with(modules_, handle, false,
                [&](Module& m) { return m.setOrder(order) || failed(kErrInvalidParameter); });
}

int SoftwareSoundLibrary::FMUSIC_GetTime(ModuleHandle handle) {
    return with(modules_, handle, 0, [&](Module& m) {
        const std::uint64_t ms = m.framesPlayed() * 1000 / static_cast<std::uint64_t>(mixer_->rate());
        return static_cast<int>(std::min<std::uint64_t>(ms, std::numeric_limits<int>::max()));
    });
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
        std::unique_ptr<Decoder> decoder = DecoderFactory::open(*files_, path, error);
        if (!decoder) return failed(error), nullptr;
        auto stream = std::make_shared<Stream>(std::move(decoder));
        stream->setLoop(loops(mode));
        std::lock_guard lock(mutex_);
        return streams_.add(std::move(stream));
    });
}

bool SoftwareSoundLibrary::FSOUND_Stream_SetLoopCount(StreamHandle handle, int count) {
    return with(streams_, handle, false, [&](Stream& s) { s.setLoopCount(count < 0 ? -1 : count); });
}

bool SoftwareSoundLibrary::FSOUND_Stream_SetEndCallback(StreamHandle handle, StreamEndCallback callback,
                                                        void* user) {
    return with(streams_, handle, false, [&](Stream& s) {
        s.callback = callback;
        s.user = user;
        return true;
    });
}

int SoftwareSoundLibrary::FSOUND_Stream_Play(int channel, StreamHandle handle) {
    return guarded(error_, -1, [&] {
        std::unique_lock lock(mutex_);
        // A notification of this stream's last play still running on the mix thread would clear
        // what the caller sets up for this one: it finishes first.
        endDispatch_.waitUntilDone(lock, streams_.idOf(handle));
        const std::shared_ptr<Stream>* owner = streams_.owner(handle);
        if (!owner) return failed(kErrInvalidParameter), -1;
        Stream& s = **owner;
        ++s.plays;
        // A stream plays on one channel at a time; one that played to its end starts again.
        if (s.channel != -1) mixer_->stop(s.channel);
        s.channel = -1;
        if (s.ended && !s.rewind()) return failed(kErrPlay), -1;
        const int number = mixer_->start(channel, *owner, streams_.idOf(handle), 256, 128);
        if (number == -1) return failed(channel < -1 ? kErrInvalidParameter : kErrChannelAlloc), -1;
        if (channel != kAnyChannel) forgetLostChannels();
        s.channel = number;
        return number;
    });
}

bool SoftwareSoundLibrary::FSOUND_Stream_Stop(StreamHandle handle) {
    return with(streams_, handle, false, [&](Stream& s) {
        if (s.channel != -1) mixer_->stop(s.channel);
        s.channel = -1;
        s.rewind();
        return true;
    });
}

bool SoftwareSoundLibrary::FSOUND_Stream_Close(StreamHandle handle) {
    return guarded(error_, false, [&] {
        std::shared_ptr<Stream> gone;
        {
            std::unique_lock lock(mutex_);
            gone = streams_.take(handle);
            if (!gone) return failed(kErrInvalidParameter);
            const std::uintptr_t id = streams_.idOf(handle);
            mixer_->stopOwner(id);
            // Its end notification may be running on the mix thread with the user value the caller
            // is about to destroy: wait for it.
            endDispatch_.waitUntilDone(lock, id);
        }
        return true;  // the decoder is destroyed here, without the lock
    });
}

bool SoftwareSoundLibrary::FSOUND_Stream_SetPosition(StreamHandle handle, unsigned position) {
    return with(streams_, handle, false, [&](Stream& s) {
        Channel* c = s.channel != -1 ? mixer_->find(s.channel) : nullptr;
        const bool moved = c ? c->setPosition(position) : s.seek(position);
        if (!moved) return failed(kErrInvalidParameter);
        s.ended = false;
        return true;
    });
}

unsigned SoftwareSoundLibrary::FSOUND_Stream_GetPosition(StreamHandle handle) {
    return with(streams_, handle, 0u, [&](Stream& s) {
        Channel* c = s.channel != -1 ? mixer_->find(s.channel) : nullptr;
        return toUnsigned(c ? c->position() : s.position());
    });
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
        std::unique_ptr<Decoder> decoder = DecoderFactory::open(*files_, path, error);
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
        return samples_.add(std::move(data));
    });
}

bool SoftwareSoundLibrary::FSOUND_Sample_GetDefaults(SampleHandle handle, int* frequency, int* volume,
                                                     int* pan, int* priority) {
    return with(samples_, handle, false, [&](SampleData& s) {
        if (frequency) *frequency = s.rate;
        if (volume) *volume = s.volume;
        if (pan) *pan = s.pan;
        if (priority) *priority = s.priority;
        return true;
    });
}

bool SoftwareSoundLibrary::FSOUND_Sample_SetMode(SampleHandle handle, unsigned mode) {
    return with(samples_, handle, false, [&](SampleData& s) { s.loop = loops(mode); });
}

unsigned SoftwareSoundLibrary::FSOUND_Sample_GetLength(SampleHandle handle) {
    return with(samples_, handle, 0u, [](SampleData& s) { return toUnsigned(s.length); });
}

bool SoftwareSoundLibrary::FSOUND_Sample_Free(SampleHandle handle) {
    return guarded(error_, false, [&] {
        std::shared_ptr<SampleData> gone;
        {
            std::lock_guard lock(mutex_);
            gone = samples_.take(handle);
            if (!gone) return failed(kErrInvalidParameter);
            mixer_->stopOwner(samples_.idOf(handle));
        }
        return true;
    });
}

int SoftwareSoundLibrary::FSOUND_PlaySound(int channel, SampleHandle handle) {
    return guarded(error_, -1, [&] {
        std::lock_guard lock(mutex_);
        const std::shared_ptr<SampleData>* owner = samples_.owner(handle);
        if (!owner) return failed(kErrInvalidParameter), -1;
        const SampleData& data = **owner;
        const int number = mixer_->start(channel, std::make_shared<SampleSource>(*owner),
                                         samples_.idOf(handle), data.volume, data.pan);
        if (number == -1) return failed(channel < -1 ? kErrInvalidParameter : kErrChannelAlloc), -1;
        if (channel != kAnyChannel) forgetLostChannels();
        return number;
    });
}

bool SoftwareSoundLibrary::FSOUND_StopSound(int channel) {
    return withChannel(channel, false, [&](Channel& c) {
        if (Stream* s = streams_.find(c.owner())) s->channel = -1;  // stopped, not ended: it keeps its place
        c.release();
        return true;
    });
}

// --- channels ---

bool SoftwareSoundLibrary::FSOUND_IsPlaying(int channel) {
    std::lock_guard lock(mutex_);
    return mixer_ && mixer_->find(channel) != nullptr;
}

bool SoftwareSoundLibrary::FSOUND_SetPaused(int channel, bool paused) {
    return withChannel(channel, false, [&](Channel& c) { c.paused = paused; });
}

bool SoftwareSoundLibrary::FSOUND_GetPaused(int channel) {
    return withChannel(channel, false, [](Channel& c) { return c.paused; });
}

bool SoftwareSoundLibrary::FSOUND_SetVolume(int channel, int volume) {
    return withChannel(channel, false, [&](Channel& c) { c.volume = std::clamp(volume, 0, 256); });
}

bool SoftwareSoundLibrary::FSOUND_SetFrequency(int channel, int frequency) {
    return withChannel(channel, false,
                       [&](Channel& c) { return c.setFrequency(frequency) || failed(kErrInvalidParameter); });
}

bool SoftwareSoundLibrary::FSOUND_SetPan(int channel, int pan) {
    return withChannel(channel, false, [&](Channel& c) { c.pan = std::clamp(pan, 0, 255); });
}

bool SoftwareSoundLibrary::FSOUND_SetCurrentPosition(int channel, unsigned position) {
    return withChannel(channel, false,
                       [&](Channel& c) { return c.setPosition(position) || failed(kErrInvalidParameter); });
}

unsigned SoftwareSoundLibrary::FSOUND_GetCurrentPosition(int channel) {
    return withChannel(channel, 0u, [](Channel& c) { return toUnsigned(c.position()); });
}

bool SoftwareSoundLibrary::FSOUND_SetLoopMode(int channel, unsigned mode) {
    return withChannel(channel, false, [&](Channel& c) { c.setLoop(loops(mode)); });
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
            endDispatch_.dispatch(lock, streams_, ended);
            ended.clear();
        } catch (...) {
            // Out of memory while noting the ended streams: the block stays as mixed.
            ended_.clear();
        }
    }
}

}  // namespace qa::platform::audio
