// A compressed music file played as a library stream on a channel. Its end notification clears
// `started`, which is how the track list learns that the track has finished.
#pragma once

#include <atomic>
#include <string>

#include "platform/audio/SoundLibrary.h"
#include "sound/SoundObject.h"

namespace qa::sound {

class StreamPlayer : public SoundObject {
  public:
    // Plays through `library`, which must outlive the player. `deferred`: the file is only checked
    // now; the stream is opened by Prepare and closed by Release.
    StreamPlayer(platform::audio::SoundLibrary& library, std::string path, bool deferred = false);
    ~StreamPlayer() override;

    // SetPosition takes a raw stream position, not a fraction; 0.0 restarts the track.
#define QA_SOUND_OBJECT_OVERRIDE(result, name, parameters) result name parameters override;
    QA_SOUND_OBJECT_OPERATIONS(QA_SOUND_OBJECT_OVERRIDE)
#undef QA_SOUND_OBJECT_OVERRIDE
    platform::audio::MusicHandle music() const override;
    void SetNext(SoundObject* next) override;
    bool Followed() override;
    void Prepare() override;
    void Release() override;

    // The end-of-stream notification; `user` is the player. May be called on the library's thread.
    static bool OnStreamEnd(platform::audio::StreamHandle stream, void* data, int length, void* user);

  private:
    void open();

    platform::audio::SoundLibrary& library_;
    bool deferred_ = false;
    bool loadable_ = false;  // deferred: the check passed, and no opening has failed since
    // Written by the end notification, read by the main loop.
    std::atomic<bool> started{false};
    platform::audio::StreamHandle stream = nullptr;
    // Written by Play, which a looping stream's end notification also calls.
    std::atomic<int> channel{-1};
    float volume = 255.0f;
    int pan = 0;
    float baseFrequency = 44100.0f;
    bool loop = true;
    float frequency = 1.0f;
};

}  // namespace qa::sound
