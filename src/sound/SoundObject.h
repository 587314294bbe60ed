// One loaded sound with one playback position, behind seventeen operations; the players for
// modules, streams and samples implement it.
#pragma once

#include <string>

#include "platform/audio/SoundLibrary.h"

// The operations every sound object has, X(result, name, (parameters)); the interface and each
// player declare theirs from this list.
#define QA_SOUND_OBJECT_OPERATIONS(X)      \
    X(bool, IsLoaded, ())                  \
    X(bool, Play, (bool play))             \
    X(bool, IsPlaying, ())                 \
    X(bool, Stop, ())                      \
    X(bool, SetVolume, (float volume))     \
    X(float, GetVolume, ())                \
    X(bool, SetFrequency, (float factor))  \
    X(float, GetFrequency, ())             \
    X(bool, SetPosition, (float position)) \
    X(float, GetPosition, ())              \
    X(float, GetTime, ())                  \
    X(bool, SetLoop, (bool loop))          \
    X(bool, GetLoop, ())                   \
    X(bool, SetPan, (float pan))           \
    X(float, GetPan, ())

namespace qa::sound {

class SoundObject {
  public:
    explicit SoundObject(std::string path) : name(std::move(path)) {}
    virtual ~SoundObject() = 0;
    SoundObject(const SoundObject&) = delete;
    SoundObject& operator=(const SoundObject&) = delete;

#define QA_SOUND_OBJECT_PURE(result, name, parameters) virtual result name parameters = 0;
    QA_SOUND_OBJECT_OPERATIONS(QA_SOUND_OBJECT_PURE)
#undef QA_SOUND_OBJECT_PURE
    std::string GetName() const {
        return name;
    }

    // The piece of music it plays, for the music that follows; none for what is not music.
    virtual platform::audio::MusicHandle music() const {
        return {};
    }
    // When this plays to its end, `next` (may be this, or null for nothing) starts without a pause.
    virtual void SetNext(SoundObject* next) {
        (void)next;
    }
    // Whether it played to its end and what SetNext named started after it.
    virtual bool Followed() {
        return false;
    }

    // A player that loads its sound when it is about to play: loads it now (a failure is reported
    // once, and the player stays silent), or lets it go again until the next Prepare.
    virtual void Prepare() {}
    virtual void Release() {}

    // For a player that never loaded and is thrown away unused: its destruction prints no cleanup line.
    void dropQuietly() {
        quiet_ = true;
    }

  protected:
    std::string name;  // the path the object was made with, as written
    bool quiet_ = false;
};

inline SoundObject::~SoundObject() = default;

}  // namespace qa::sound
