// One loaded sound with one playback position, behind seventeen operations; the players for
// modules, streams and samples implement it.
#pragma once

#include <string>

namespace qa::sound {

class SoundObject {
  public:
    explicit SoundObject(std::string path) : name(std::move(path)) {}
    virtual ~SoundObject() = 0;
    SoundObject(const SoundObject&) = delete;
    SoundObject& operator=(const SoundObject&) = delete;

    virtual bool IsLoaded() = 0;
    virtual bool Play(bool play) = 0;
    virtual bool IsPlaying() = 0;
    virtual bool Stop() = 0;
    virtual bool SetVolume(float volume) = 0;
    virtual float GetVolume() = 0;
    virtual bool SetFrequency(float factor) = 0;
    virtual float GetFrequency() = 0;
    virtual bool SetPosition(float position) = 0;
    virtual float GetPosition() = 0;
    virtual float GetTime() = 0;
    virtual bool SetLoop(bool loop) = 0;
    virtual bool GetLoop() = 0;
    virtual bool SetPan(float pan) = 0;
    virtual float GetPan() = 0;
    std::string GetName() const { return name; }

    // For a player that never loaded and is thrown away unused: its destruction prints no cleanup line.
    void dropQuietly() { quiet_ = true; }

  protected:
    std::string name;  // the path the object was made with, as written
    bool quiet_ = false;
};

inline SoundObject::~SoundObject() = default;

}  // namespace qa::sound
