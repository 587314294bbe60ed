// The commands that control music and sound effects, PlayTrack, PlaySfx and PauseTrack, and the
// application command ExitApp.
#pragma once

#include <string>

#include "platform/Vec3.h"

namespace qa::scene {
class ImageItem;
}

namespace qa::script {

class SoundCommands {
public:
    static bool playTrack(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool playSfx(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool pauseTrack(std::string argument, platform::Vec3 position, scene::ImageItem* item);

    // Whether sound is on (the usesound setting), read by PlaySfx.
    static void setSoundOn(bool on) { soundOn_ = on; }
    // Destroys every sound effect (shutdown).
    static void destroyEffects();

private:
    static inline bool soundOn_ = true;
};

}  // namespace qa::script
