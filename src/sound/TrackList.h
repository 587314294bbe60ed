// The music tracks as a rotating playlist: the front is the current track; it moves on when the
// current track has ended, unless the music is paused. The track after the current one is named to
// it as the music that follows, so that it starts at the current track's last sample; the list
// itself still moves on in the main loop, a frame later.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "sound/SoundObject.h"

namespace qa::trace {
class TraceSink;
}

namespace qa::sound {

class TrackList {
  public:
    // Appended at the back.
    void append(std::unique_ptr<SoundObject> track) { tracks_.push_back(std::move(track)); }
    bool empty() const { return tracks_.empty(); }
    SoundObject* current() const { return tracks_.empty() ? nullptr : tracks_.front().get(); }
    const std::list<std::unique_ptr<SoundObject>>& tracks() const { return tracks_; }

    bool paused() const { return paused_; }
    void setPaused(bool paused);

    // Starts the front track, if any (end of the music folder scan).
    void startFront();
    // Once per frame: when the current track has stopped and the music is not paused, moves it to the
    // back and plays the new front track.
    void advance();
    // Moves the track to the front; the others keep their order behind it.
    void moveToFront(SoundObject* track);
    // Destroys every track (shutdown); each player prints its cleanup line.
    void destroyAll();
    // Takes every track out, front first, for the list to be made again (the music folder changed);
    // the paused state stays. replaceAll puts a new list in, its front the current track; it plays
    // nothing.
    std::list<std::unique_ptr<SoundObject>> takeAll();
    void replaceAll(std::list<std::unique_ptr<SoundObject>> tracks);

    void setTrace(trace::TraceSink* trace) { trace_ = trace; }
    // Reports a track being started or resumed to the trace, if there is one.
    void traceStart(SoundObject* track, const char* action);

  private:
    // Names the track after the current one (the current itself when it is alone; none while the
    // music is paused) as the music that follows it. Those two hold their sound, the others let it
    // go.
    void armNext();

    trace::TraceSink* trace_ = nullptr;
    std::list<std::unique_ptr<SoundObject>> tracks_;
    bool paused_ = false;
};

}  // namespace qa::sound
