// The commands that control music and sound effects: PlayTrack, PlaySfx and PauseTrack. They act
// only in an item's event script; in timer scripts they do nothing.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/Vec3.h"

namespace qa::scene {
class ImageItem;
}
namespace qa::sound {
class SoundObject;
class TrackList;
}  // namespace qa::sound

namespace qa::script {

class SoundCommands {
  public:
    // PlayTrack and PauseTrack act on `tracks`.
    explicit SoundCommands(sound::TrackList& tracks);
    ~SoundCommands();
    SoundCommands(const SoundCommands&) = delete;
    SoundCommands& operator=(const SoundCommands&) = delete;

    bool playTrack(std::string argument, Vec3 position, scene::ImageItem* item);
    bool playSfx(std::string argument, Vec3 position, scene::ImageItem* item);
    bool pauseTrack(std::string argument, Vec3 position, scene::ImageItem* item);

    // Whether sound is on (the usesound setting), read by PlaySfx.
    void setSoundOn(bool on) { soundOn_ = on; }
    // Makes the player of a sound effect on its first use.
    using EffectMaker = std::function<std::unique_ptr<sound::SoundObject>(const std::string& path)>;
    void setEffectMaker(EffectMaker make) { makeEffect_ = std::move(make); }
    // The sound effects loaded so far, in first-use order.
    const std::vector<std::unique_ptr<sound::SoundObject>>& effects() const { return effects_; }
    // Destroys every sound effect, in first-use order (shutdown).
    void destroyEffects();

  private:
    sound::TrackList& tracks_;
    bool soundOn_ = true;
    EffectMaker makeEffect_;
    std::vector<std::unique_ptr<sound::SoundObject>> effects_;
};

}  // namespace qa::script
