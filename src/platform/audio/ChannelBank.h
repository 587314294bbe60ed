// The sound library's channels as numbers: whether one plays, stopping it, and its pause, volume,
// rate, pan, position and looping, each under the library's lock. A number names a channel only
// while the sound started there plays.
#pragma once

#include "platform/audio/LibraryCore.h"
#include "platform/audio/StreamBank.h"

namespace qa::platform::audio {

class ChannelBank {
  public:
    // `streams` learns of streams whose channel is stopped.
    ChannelBank(LibraryCore& core, StreamBank& streams) : core_(core), streams_(streams) {}

    bool stop(int channel);
    bool playing(int channel);
    bool setPaused(int channel, bool paused);
    bool paused(int channel);
    bool setVolume(int channel, int volume);
    bool setFrequency(int channel, int frequency);
    bool setPan(int channel, int pan);
    bool setPosition(int channel, unsigned position);
    unsigned position(int channel);
    bool setLoopMode(int channel, unsigned mode);

  private:
    LibraryCore& core_;
    StreamBank& streams_;
};

}  // namespace qa::platform::audio
