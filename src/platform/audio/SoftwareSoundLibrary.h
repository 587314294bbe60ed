// The real sound library: a thin front over a software mixer of our own. Modules, streams, samples
// and channels each have their bank, all under one lock (LibraryCore); the front starts the mixer
// and its output (from an output factory: the sound device, the no-sound output, or pulled by the
// caller in virtual time), starts the music that follows where a piece ends, and hands each
// operation to its bank.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/ChannelBank.h"
#include "platform/audio/LibraryCore.h"
#include "platform/audio/ModuleBank.h"
#include "platform/audio/MusicFollowOn.h"
#include "platform/audio/Output.h"
#include "platform/audio/OutputFactory.h"
#include "platform/audio/RenderSource.h"
#include "platform/audio/SampleBank.h"
#include "platform/audio/SoundLibrary.h"
#include "platform/audio/StreamBank.h"
#include "platform/file/FileSource.h"

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
    // Frames the output has handed to the device so far (0 for outputs that do not count them).
    std::uint64_t delivered() const;

  private:
    static constexpr std::size_t kBlock = 256;

    void render(float* out, std::size_t frames) override;
    // With the lock held: the end notifications of the streams in ended_.
    void dispatchEnded(std::unique_lock<std::mutex>& lock);

    // Destroyed last: it may keep a sound device that did not open.
    const std::unique_ptr<OutputFactory> outputs_;
    LibraryCore core_;
    std::unique_ptr<Output> output_;
    PullOutput* pullOutput_ = nullptr;
    ModuleBank modules_{core_};
    StreamBank streams_{core_};
    SampleBank samples_{core_, streams_};
    ChannelBank channels_{core_, streams_};
    MusicFollowOn followOn_{core_, modules_, streams_};
    void* window_ = nullptr;
    std::vector<std::uintptr_t> ended_;
};

}  // namespace qa::platform::audio
