// A tracker module played through the library's module operations; starts at three quarters of
// full volume and at normal speed.
#pragma once

#include <string>

#include "platform/audio/SoundLibrary.h"
#include "sound/SoundObject.h"

namespace qa::sound {

class MusicPlayer : public SoundObject {
  public:
    static constexpr int kStartVolume = 192;

    // Plays through `library`, which must outlive the player.
    MusicPlayer(platform::audio::SoundLibrary& library, std::string path);
    ~MusicPlayer() override;

    bool IsLoaded() override;
    bool Play(bool play) override;
    bool IsPlaying() override;
    bool Stop() override;
    bool SetVolume(float volume) override;
    float GetVolume() override;
    bool SetFrequency(float factor) override;
    float GetFrequency() override;
    bool SetPosition(float position) override;
    float GetPosition() override;
    float GetTime() override;
    bool SetLoop(bool loop) override;
    bool GetLoop() override;
    bool SetPan(float pan) override;
    float GetPan() override;

  private:
    platform::audio::SoundLibrary& library_;
    platform::audio::ModuleHandle module = nullptr;
    bool loop = true;
    float speed = 1.0f;
};

}  // namespace qa::sound
