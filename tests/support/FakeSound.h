// A sound object that plays nothing but keeps the state a player reports: loaded, playing,
// paused, its position; every Play, SetPosition and SetLoop call is logged.
#pragma once

#include <string>
#include <vector>

#include "sound/SoundObject.h"

namespace qa::test {

class FakeSound : public sound::SoundObject {
  public:
    explicit FakeSound(const std::string& path, bool loaded = true) : SoundObject(path), loaded_(loaded) {}
    ~FakeSound() override { log().push_back((quiet_ ? "quiet " : "destroy ") + name); }

    // The log shared by every fake: "play NAME 1", "setpos NAME 0", "loop NAME 0", "destroy NAME".
    static std::vector<std::string>& log();

    // Plays for a while (position moves) or reaches the end.
    void advance(float seconds) {
        if (playing_ && !paused_) position_ += seconds;
    }
    void end() { playing_ = false; }
    float position() const { return position_; }
    bool paused() const { return paused_; }

    bool IsLoaded() override { return loaded_; }
    bool Play(bool play) override {
        log().push_back("play " + name + (play ? " 1" : " 0"));
        if (!loaded_) return false;
        if (playing_) {
            paused_ = !play;
            return true;
        }
        if (play) {
            playing_ = true;
            paused_ = false;
            if (atEnd_) position_ = 0;
        }
        return true;
    }
    bool IsPlaying() override { return playing_ && !paused_; }
    bool Stop() override { return true; }
    bool SetVolume(float) override { return true; }
    float GetVolume() override { return 1; }
    bool SetFrequency(float) override { return true; }
    float GetFrequency() override { return 1; }
    bool SetPosition(float p) override {
        log().push_back("setpos " + name);
        position_ = p;
        return loaded_;
    }
    float GetPosition() override { return position_; }
    float GetTime() override { return position_; }
    bool SetLoop(bool loop) override {
        log().push_back(std::string("loop ") + name + (loop ? " 1" : " 0"));
        return true;
    }
    bool GetLoop() override { return false; }
    bool SetPan(float) override { return true; }
    float GetPan() override { return 0; }

  private:
    bool loaded_;
    bool playing_ = false;
    bool paused_ = false;
    bool atEnd_ = false;
    float position_ = 0;
};

}  // namespace qa::test
