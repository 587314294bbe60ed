// A loaded tracker module and its playing state: playing, paused, looping, master volume, master
// speed and the time played.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/audio/decoders/OpenMptModule.h"

namespace qa::platform::audio {

class Module {
  public:
    explicit Module(std::unique_ptr<OpenMptModule> song);

    // Starts the song from its beginning (also after it ended).
    void play();
    void stop() { playing_ = false; }
    bool playing() const { return playing_; }
    void setPaused(bool paused) { paused_ = paused; }
    bool paused() const { return paused_; }
    void setLooping(bool looping);
    void setVolume(int volume) { volume_ = volume; }
    int volume() const { return volume_; }
    bool setSpeed(float speed);
    int orderCount() const { return song_->orderCount(); }
    int order() const { return song_->currentOrder(); }
    bool setOrder(int order) { return song_->setOrder(order); }
    std::uint64_t framesPlayed() const { return framesPlayed_; }

    // Adds up to `frames` frames at `rate` into `mix`, using `scratch` (as large); at the end of a
    // song that does not loop it stops playing. The frames added (0 while stopped or paused).
    std::size_t mixInto(float* mix, std::size_t frames, int rate, float* scratch);

  private:
    std::unique_ptr<OpenMptModule> song_;
    bool playing_ = false;
    bool paused_ = false;
    int volume_ = 256;
    std::uint64_t framesPlayed_ = 0;
};

}  // namespace qa::platform::audio
