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

#define QA_SOUND_LIBRARY_OVERRIDE(result, name, parameters) result name parameters override;
    QA_SOUND_LIBRARY_OPERATIONS(QA_SOUND_LIBRARY_OVERRIDE)
#undef QA_SOUND_LIBRARY_OVERRIDE

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
