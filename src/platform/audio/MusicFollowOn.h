// The music that follows: one link from the piece playing (a module or a stream) to the piece after
// it. The mixer watches the current piece; in the block where it ends, the next one is started and
// mixed from the following sample, so that one piece runs into the next without a pause. Whoever
// keeps the playlist still moves it on in its own time, and plays the next piece as before: the
// library takes that play as the one the early start stood for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/audio/LibraryCore.h"
#include "platform/audio/ModuleBank.h"
#include "platform/audio/StreamBank.h"

namespace qa::platform::audio {

class MusicFollowOn {
  public:
    MusicFollowOn(LibraryCore& core, ModuleBank& modules, StreamBank& streams)
        : core_(core), modules_(modules), streams_(streams) {}

    bool setNext(MusicHandle current, MusicHandle next);
    bool followed(MusicHandle current);

    // Under the lock, after the mixer rendered a block in which the current piece ended, `out` the
    // rest of the block after its last frame: starts the next piece there. Owners of channels whose
    // sound ended as well are appended to `ended`.
    void start(float* out, std::size_t frames, std::vector<std::uintptr_t>& ended);

  private:
    struct Piece {
        std::uintptr_t id = 0;  // 0: none
        bool stream = false;
    };
    // Under the lock: the piece a handle names while it exists.
    Piece pieceOf(MusicHandle music) const;
    void stopFollower();

    LibraryCore& core_;
    ModuleBank& modules_;
    StreamBank& streams_;
    Piece current_;
    Piece next_;
    // After the link worked: the piece that ended, and the one started after it.
    Piece ended_;
    Piece follower_;
};

}  // namespace qa::platform::audio
