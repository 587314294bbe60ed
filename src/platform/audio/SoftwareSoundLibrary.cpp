// The sound library's front: start-up, the error code, the output and mixing; every other
// operation goes to the bank of its kind.
#include "platform/audio/SoftwareSoundLibrary.h"

#include <algorithm>

#include "platform/audio/PullOutput.h"

namespace qa::platform::audio {

SoftwareSoundLibrary::SoftwareSoundLibrary(std::unique_ptr<OutputFactory> outputs,
                                           std::shared_ptr<FileSource> files)
    : outputs_(std::move(outputs)), core_(std::move(files)) {}

SoftwareSoundLibrary::SoftwareSoundLibrary(OutputKind kind, std::shared_ptr<FileSource> files)
    : SoftwareSoundLibrary(std::make_unique<OutputFactory>(kind), std::move(files)) {}

SoftwareSoundLibrary::~SoftwareSoundLibrary() {
    // The output's threads stop before anything they mix goes away.
    if (output_) output_->stop();
}

// --- start-up ---

float SoftwareSoundLibrary::FSOUND_GetVersion() {
    return kVersion;
}

bool SoftwareSoundLibrary::FSOUND_SetHWND(void* window) {
    std::lock_guard lock(core_.mutex);
    if (core_.initialised) return core_.fail(kErrAfterInit);
    window_ = window;
    return true;
}

bool SoftwareSoundLibrary::FSOUND_Init(int mixRate, int softwareChannels, unsigned flags) {
    (void)flags;  // sound always goes on without the input focus
    return core_.guarded(false, [&] {
        {
            std::lock_guard lock(core_.mutex);
            if (core_.initialised) return core_.fail(kErrAfterInit);
            if (mixRate < kMinMixRate || mixRate > kMaxMixRate || softwareChannels < 1 ||
                softwareChannels > Mixer::kMaxChannels)
                return core_.fail(kErrInvalidParameter);
            core_.mixer = std::make_unique<Mixer>(mixRate, softwareChannels);
            core_.initialised = true;
        }
        // Started without the lock: the output mixes its first blocks at once.
        std::unique_ptr<Output> output = outputs_->start(*this, mixRate);
        if (!output) {
            std::lock_guard lock(core_.mutex);
            core_.initialised = false;
            core_.mixer.reset();
            return core_.fail(kErrOutputInit);
        }
        pullOutput_ = dynamic_cast<PullOutput*>(output.get());
        output_ = std::move(output);
        return true;
    });
}

int SoftwareSoundLibrary::FSOUND_GetError() {
    return core_.error.load();
}

int SoftwareSoundLibrary::FSOUND_GetOutput() {
    return output_ ? output_->method() : kOutputNoSound;
}

// --- modules ---

ModuleHandle SoftwareSoundLibrary::FMUSIC_LoadSong(const char* path) {
    return modules_.load(path);
}
bool SoftwareSoundLibrary::FMUSIC_FreeSong(ModuleHandle module) {
    return modules_.free(module);
}
bool SoftwareSoundLibrary::FMUSIC_PlaySong(ModuleHandle module) {
    return modules_.play(module);
}
bool SoftwareSoundLibrary::FMUSIC_StopSong(ModuleHandle module) {
    return modules_.stop(module);
}
bool SoftwareSoundLibrary::FMUSIC_IsPlaying(ModuleHandle module) {
    return modules_.playing(module);
}
bool SoftwareSoundLibrary::FMUSIC_SetPaused(ModuleHandle module, bool paused) {
    return modules_.setPaused(module, paused);
}
bool SoftwareSoundLibrary::FMUSIC_GetPaused(ModuleHandle module) {
    return modules_.paused(module);
}
bool SoftwareSoundLibrary::FMUSIC_SetLooping(ModuleHandle module, bool looping) {
    return modules_.setLooping(module, looping);
}
bool SoftwareSoundLibrary::FMUSIC_SetMasterVolume(ModuleHandle module, int volume) {
    return modules_.setVolume(module, volume);
}
int SoftwareSoundLibrary::FMUSIC_GetMasterVolume(ModuleHandle module) {
    return modules_.volume(module);
}
bool SoftwareSoundLibrary::FMUSIC_SetMasterSpeed(ModuleHandle module, float speed) {
    return modules_.setSpeed(module, speed);
}
int SoftwareSoundLibrary::FMUSIC_GetNumOrders(ModuleHandle module) {
    return modules_.orderCount(module);
}
int SoftwareSoundLibrary::FMUSIC_GetOrder(ModuleHandle module) {
    return modules_.order(module);
}
bool SoftwareSoundLibrary::FMUSIC_SetOrder(ModuleHandle module, int order) {
    return modules_.setOrder(module, order);
}
int SoftwareSoundLibrary::FMUSIC_GetTime(ModuleHandle module) {
    return modules_.time(module);
}

// --- streams ---

StreamHandle SoftwareSoundLibrary::FSOUND_Stream_OpenFile(const char* path, unsigned mode, int length) {
    return streams_.open(path, mode, length);
}
bool SoftwareSoundLibrary::FSOUND_Stream_SetLoopCount(StreamHandle stream, int count) {
    return streams_.setLoopCount(stream, count);
}
bool SoftwareSoundLibrary::FSOUND_Stream_SetEndCallback(StreamHandle stream, StreamEndCallback callback,
                                                        void* user) {
    return streams_.setEndCallback(stream, callback, user);
}
int SoftwareSoundLibrary::FSOUND_Stream_Play(int channel, StreamHandle stream) {
    return streams_.play(channel, stream);
}
bool SoftwareSoundLibrary::FSOUND_Stream_Stop(StreamHandle stream) {
    return streams_.stop(stream);
}
bool SoftwareSoundLibrary::FSOUND_Stream_Close(StreamHandle stream) {
    return streams_.close(stream);
}
bool SoftwareSoundLibrary::FSOUND_Stream_SetPosition(StreamHandle stream, unsigned position) {
    return streams_.setPosition(stream, position);
}
unsigned SoftwareSoundLibrary::FSOUND_Stream_GetPosition(StreamHandle stream) {
    return streams_.position(stream);
}

// --- samples ---

SampleHandle SoftwareSoundLibrary::FSOUND_Sample_Load(int index, const char* path, unsigned mode,
                                                      int offset) {
    return samples_.load(index, path, mode, offset);
}
bool SoftwareSoundLibrary::FSOUND_Sample_GetDefaults(SampleHandle sample, int* frequency, int* volume,
                                                     int* pan, int* priority) {
    return samples_.defaults(sample, frequency, volume, pan, priority);
}
bool SoftwareSoundLibrary::FSOUND_Sample_SetMode(SampleHandle sample, unsigned mode) {
    return samples_.setMode(sample, mode);
}
unsigned SoftwareSoundLibrary::FSOUND_Sample_GetLength(SampleHandle sample) {
    return samples_.length(sample);
}
bool SoftwareSoundLibrary::FSOUND_Sample_Free(SampleHandle sample) {
    return samples_.free(sample);
}
int SoftwareSoundLibrary::FSOUND_PlaySound(int channel, SampleHandle sample) {
    return samples_.play(channel, sample);
}

// --- channels ---

bool SoftwareSoundLibrary::FSOUND_StopSound(int channel) {
    return channels_.stop(channel);
}
bool SoftwareSoundLibrary::FSOUND_IsPlaying(int channel) {
    return channels_.playing(channel);
}
bool SoftwareSoundLibrary::FSOUND_SetPaused(int channel, bool paused) {
    return channels_.setPaused(channel, paused);
}
bool SoftwareSoundLibrary::FSOUND_GetPaused(int channel) {
    return channels_.paused(channel);
}
bool SoftwareSoundLibrary::FSOUND_SetVolume(int channel, int volume) {
    return channels_.setVolume(channel, volume);
}
bool SoftwareSoundLibrary::FSOUND_SetFrequency(int channel, int frequency) {
    return channels_.setFrequency(channel, frequency);
}
bool SoftwareSoundLibrary::FSOUND_SetPan(int channel, int pan) {
    return channels_.setPan(channel, pan);
}
bool SoftwareSoundLibrary::FSOUND_SetCurrentPosition(int channel, unsigned position) {
    return channels_.setPosition(channel, position);
}
unsigned SoftwareSoundLibrary::FSOUND_GetCurrentPosition(int channel) {
    return channels_.position(channel);
}
bool SoftwareSoundLibrary::FSOUND_SetLoopMode(int channel, unsigned mode) {
    return channels_.setLoopMode(channel, mode);
}

// --- the music that follows ---

bool SoftwareSoundLibrary::Music_SetNext(MusicHandle current, MusicHandle next) {
    return followOn_.setNext(current, next);
}
bool SoftwareSoundLibrary::Music_Followed(MusicHandle current) {
    return followOn_.followed(current);
}
bool SoftwareSoundLibrary::Music_Probe(const char* path, bool stream) {
    return stream ? streams_.probe(path) : modules_.probe(path);
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

std::uint64_t SoftwareSoundLibrary::delivered() const {
    return output_ ? output_->delivered() : 0;
}

void SoftwareSoundLibrary::render(float* out, std::size_t frames) {
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(frames - done, kBlock);
        float* block = out + 2 * done;
        done += n;
        std::unique_lock lock(core_.mutex);
        if (!core_.mixer) {
            std::fill(block, block + 2 * n, 0.0f);
            continue;
        }
        try {
            core_.mixer->render(block, n, ended_);
            dispatchEnded(lock);
            // The music that follows starts after the last frame of the piece that ended, once that
            // piece's end is noted (it may follow itself).
            std::size_t at = 0;
            if (core_.mixer && core_.mixer->watchedEnd(at)) {
                followOn_.start(block + 2 * at, n - at, ended_);
                dispatchEnded(lock);
            }
        } catch (...) {
            // Out of memory while noting the ended streams: the block stays as mixed.
            ended_.clear();
        }
    }
}

void SoftwareSoundLibrary::dispatchEnded(std::unique_lock<std::mutex>& lock) {
    if (ended_.empty()) return;
    std::vector<std::uintptr_t> ended;
    ended.swap(ended_);
    streams_.dispatchEnded(lock, ended);
}

}  // namespace qa::platform::audio
