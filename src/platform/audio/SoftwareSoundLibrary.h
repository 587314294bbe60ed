// The real sound library: every operation over a software mixer of our own, played on the sound
// device (or the no-sound output when none opens), or pulled by the caller in virtual time.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/Mixer.h"
#include "platform/audio/Output.h"
#include "platform/audio/RenderSource.h"
#include "platform/audio/SampleData.h"
#include "platform/audio/SoundLibrary.h"
#include "platform/audio/Stream.h"

namespace qa::platform::audio {

class PullOutput;

enum class OutputKind {
    Device,   // the sound device, or the no-sound output when no device opens
    NoSound,  // the no-sound output
    Pull,     // the caller pulls the mix (headless runs)
};

class SoftwareSoundLibrary : public SoundLibrary, private RenderSource {
  public:
    static constexpr float kVersion = 3.63f;
    static constexpr int kMinMixRate = 4000;
    static constexpr int kMaxMixRate = 192000;

    explicit SoftwareSoundLibrary(OutputKind kind);
    ~SoftwareSoundLibrary() override;
    SoftwareSoundLibrary(const SoftwareSoundLibrary&) = delete;
    SoftwareSoundLibrary& operator=(const SoftwareSoundLibrary&) = delete;

    float FSOUND_GetVersion() override;
    bool FSOUND_SetHWND(void* window) override;
    bool FSOUND_Init(int mixRate, int softwareChannels, unsigned flags) override;
    int FSOUND_GetError() override;
    int FSOUND_GetOutput() override;

    ModuleHandle FMUSIC_LoadSong(const char* path) override;
    bool FMUSIC_FreeSong(ModuleHandle module) override;
    bool FMUSIC_PlaySong(ModuleHandle module) override;
    bool FMUSIC_StopSong(ModuleHandle module) override;
    bool FMUSIC_IsPlaying(ModuleHandle module) override;
    bool FMUSIC_SetPaused(ModuleHandle module, bool paused) override;
    bool FMUSIC_GetPaused(ModuleHandle module) override;
    bool FMUSIC_SetLooping(ModuleHandle module, bool looping) override;
    bool FMUSIC_SetMasterVolume(ModuleHandle module, int volume) override;
    int FMUSIC_GetMasterVolume(ModuleHandle module) override;
    bool FMUSIC_SetMasterSpeed(ModuleHandle module, float speed) override;
    int FMUSIC_GetNumOrders(ModuleHandle module) override;
    int FMUSIC_GetOrder(ModuleHandle module) override;
    bool FMUSIC_SetOrder(ModuleHandle module, int order) override;
    int FMUSIC_GetTime(ModuleHandle module) override;

    StreamHandle FSOUND_Stream_OpenFile(const char* path, unsigned mode, int length) override;
    bool FSOUND_Stream_SetLoopCount(StreamHandle stream, int count) override;
    bool FSOUND_Stream_SetEndCallback(StreamHandle stream, StreamEndCallback callback, void* user) override;
    int FSOUND_Stream_Play(int channel, StreamHandle stream) override;
    bool FSOUND_Stream_Stop(StreamHandle stream) override;
    bool FSOUND_Stream_Close(StreamHandle stream) override;
    bool FSOUND_Stream_SetPosition(StreamHandle stream, unsigned position) override;
    unsigned FSOUND_Stream_GetPosition(StreamHandle stream) override;

    SampleHandle FSOUND_Sample_Load(int index, const char* path, unsigned mode, int offset) override;
    bool FSOUND_Sample_GetDefaults(SampleHandle sample, int* frequency, int* volume, int* pan,
                                   int* priority) override;
    bool FSOUND_Sample_SetMode(SampleHandle sample, unsigned mode) override;
    unsigned FSOUND_Sample_GetLength(SampleHandle sample) override;
    bool FSOUND_Sample_Free(SampleHandle sample) override;
    int FSOUND_PlaySound(int channel, SampleHandle sample) override;
    bool FSOUND_StopSound(int channel) override;

    bool FSOUND_IsPlaying(int channel) override;
    bool FSOUND_SetPaused(int channel, bool paused) override;
    bool FSOUND_GetPaused(int channel) override;
    bool FSOUND_SetVolume(int channel, int volume) override;
    bool FSOUND_SetFrequency(int channel, int frequency) override;
    bool FSOUND_SetPan(int channel, int pan) override;
    bool FSOUND_SetCurrentPosition(int channel, unsigned position) override;
    unsigned FSOUND_GetCurrentPosition(int channel) override;
    bool FSOUND_SetLoopMode(int channel, unsigned mode) override;

    // With the pull output: mixes the next `frames` frames (interleaved stereo at the mixing rate)
    // into `out` on the caller's thread; end notifications are called from here. Silence before
    // FSOUND_Init and with the other outputs.
    void pull(float* out, std::size_t frames);
    // Times the output needed sound that was not mixed yet.
    std::uint64_t underruns() const;

  private:
    static constexpr std::size_t kBlock = 256;

    void render(float* out, std::size_t frames) override;
    // Marks the streams whose channel ended and calls their end notifications without the lock.
    void finishStreams(std::unique_lock<std::mutex>& lock, const std::vector<std::uintptr_t>& ended);
    bool startOutput(int rate);
    // After a play call took a channel by number: streams that lost their channel forget it.
    void forgetLostChannels();

    // Lookups with the lock held; null (and the error set) for handles that name nothing.
    Module* findModule(ModuleHandle handle);
    Stream* findStream(StreamHandle handle);
    SampleData* findSample(SampleHandle handle);
    Channel* findChannel(int channel);
    bool failed(int code);
    std::uintptr_t addId();

    const OutputKind kind_;
    mutable std::mutex mutex_;
    std::condition_variable dispatched_;
    std::atomic<int> error_{kErrNone};
    void* window_ = nullptr;
    bool initialised_ = false;
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<Output> output_;
    std::unique_ptr<Output> unopenedDevice_;  // a sound device that did not open
    PullOutput* pullOutput_ = nullptr;
    std::uintptr_t lastId_ = 0;
    std::map<std::uintptr_t, std::unique_ptr<Module>> modules_;
    std::map<std::uintptr_t, std::shared_ptr<Stream>> streams_;
    std::map<std::uintptr_t, std::shared_ptr<SampleData>> samples_;
    std::vector<std::uintptr_t> ended_;
    // The stream whose end notification is running, and on which thread.
    std::uintptr_t dispatching_ = 0;
    std::thread::id dispatchThread_;
};

}  // namespace qa::platform::audio
