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

    // Plays through `library`, which must outlive the player. `deferred`: the file is only checked
    // now; its module is loaded by Prepare and freed by Release.
    MusicPlayer(platform::audio::SoundLibrary& library, std::string path, bool deferred = false);
    ~MusicPlayer() override;

#define QA_SOUND_OBJECT_OVERRIDE(result, name, parameters) result name parameters override;
    QA_SOUND_OBJECT_OPERATIONS(QA_SOUND_OBJECT_OVERRIDE)
#undef QA_SOUND_OBJECT_OVERRIDE
    platform::audio::MusicHandle music() const override;
    void SetNext(SoundObject* next) override;
    bool Followed() override;
    void Prepare() override;
    void Release() override;

  private:
    // Loads the module and gives it the looping, volume and speed set so far.
    void load();

    platform::audio::SoundLibrary& library_;
    bool deferred_ = false;
    bool loadable_ = false;  // deferred: the check passed, and no load has failed since
    int volume_ = kStartVolume;
    platform::audio::ModuleHandle module = nullptr;
    bool loop = true;
    float speed = 1.0f;
};

}  // namespace qa::sound
