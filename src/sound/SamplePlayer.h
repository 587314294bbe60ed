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

#define QA_SOUND_OBJECT_OVERRIDE(result, name, parameters) result name parameters override;
    QA_SOUND_OBJECT_OPERATIONS(QA_SOUND_OBJECT_OVERRIDE)
#undef QA_SOUND_OBJECT_OVERRIDE

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
