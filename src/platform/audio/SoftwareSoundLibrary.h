// The real sound library: every operation over a software mixer of our own, behind one lock. Its
// objects live in handle tables, its output comes from an output factory (the sound device, the
// no-sound output, or pulled by the caller in virtual time), and ended streams are announced by the
// end-notification dispatch.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/FileSource.h"
#include "platform/audio/HandleTable.h"
#include "platform/audio/Mixer.h"
#include "platform/audio/Module.h"
#include "platform/audio/Output.h"
#include "platform/audio/OutputFactory.h"
#include "platform/audio/RenderSource.h"
#include "platform/audio/SampleData.h"
#include "platform/audio/SoundLibrary.h"
#include "platform/audio/Stream.h"
#include "platform/audio/StreamEndDispatch.h"

namespace qa::platform::audio {

class PullOutput;

class SoftwareSoundLibrary : public SoundLibrary, private RenderSource {
  public:
    static constexpr float kVersion = 3.63f;
    static constexpr int kMinMixRate = 4000;
    static constexpr int kMaxMixRate = 192000;

    // Mixes into the output the factory starts at FSOUND_Init, and reads its sound files from
    // `files` (null: the disk folder).
    explicit SoftwareSoundLibrary(std::unique_ptr<OutputFactory> outputs,
                                  std::shared_ptr<FileSource> files = nullptr);
    explicit SoftwareSoundLibrary(OutputKind kind, std::shared_ptr<FileSource> files = nullptr);
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
    // After a play call took a channel by number: streams that lost their channel forget it.
    void forgetLostChannels();
    bool failed(int code);
    // Under the lock: body(object) for the object a handle names (success when the body returns
    // nothing); `failure`, and the error set, when the handle names nothing.
    template <class Table, class Handle, class R, class F>
    R with(Table& table, Handle handle, R failure, F&& body);
    // The same for the channel a number names while its sound plays.
    template <class R, class F>
    R withChannel(int channel, R failure, F&& body);

    // Destroyed last: it may keep a sound device that did not open.
    const std::unique_ptr<OutputFactory> outputs_;
    const std::shared_ptr<FileSource> files_;
    mutable std::mutex mutex_;
    std::atomic<int> error_{kErrNone};
    void* window_ = nullptr;
    bool initialised_ = false;
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<Output> output_;
    PullOutput* pullOutput_ = nullptr;
    std::uintptr_t lastId_ = 0;
    HandleTable<Module, ModuleHandle, std::unique_ptr<Module>> modules_{lastId_};
    HandleTable<Stream, StreamHandle> streams_{lastId_};
    HandleTable<SampleData, SampleHandle> samples_{lastId_};
    std::vector<std::uintptr_t> ended_;
    StreamEndDispatch endDispatch_;
};

}  // namespace qa::platform::audio
