// The commands that control music and sound effects: PlayTrack, PlaySfx and PauseTrack. They act
// only in an item's event script; in timer scripts they do nothing.
#pragma once

#include <string>
#include <vector>

#include "platform/Vec3.h"

namespace qa::scene {
class ImageItem;
}
namespace qa::sound {
class SoundObject;
}

namespace qa::script {

class SoundCommands {
  public:
    static bool playTrack(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool playSfx(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool pauseTrack(std::string argument, platform::Vec3 position, scene::ImageItem* item);

    // Whether sound is on (the usesound setting), read by PlaySfx.
    static void setSoundOn(bool on) { soundOn_ = on; }
    // Makes the player of a sound effect on its first use.
    using EffectMaker = sound::SoundObject* (*)(const std::string& path);
    static void setEffectMaker(EffectMaker make) { makeEffect_ = make; }
    // The sound effects loaded so far, in first-use order.
    static const std::vector<sound::SoundObject*>& effects() { return effects_; }
    // Destroys every sound effect (shutdown).
    static void destroyEffects();

  private:
    static inline bool soundOn_ = true;
    static inline EffectMaker makeEffect_ = nullptr;
    static inline std::vector<sound::SoundObject*> effects_;
};

}  // namespace qa::script
