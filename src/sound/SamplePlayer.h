// A short sound loaded whole as a library sample; each Play that starts it takes a channel.
#pragma once

#include <string>

#include "platform/audio/SoundLibrary.h"
#include "sound/SoundObject.h"

namespace qa::sound {

class SamplePlayer : public SoundObject {
  public:
    // Plays through `library`, which must outlive the player.
    SamplePlayer(platform::audio::SoundLibrary& library, std::string path);
    ~SamplePlayer() override;

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
    platform::audio::SampleHandle sample = nullptr;
    int channel = -1;
    float volume = 1.0f;
    float position = 0.0f;
    int pan = 0;
    float baseFrequency = 44100.0f;
    bool loop = false;
    float frequency = 1.0f;
};

}  // namespace qa::sound
