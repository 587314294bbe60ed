// The sound library's streams: opening, playing on a channel, stopping, closing, positions and end
// notifications, each under the library's lock. A stream plays on one channel at a time; the bank
// keeps which one, and forgets it when the channel is taken by another sound.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/audio/HandleTable.h"
#include "platform/audio/LibraryCore.h"
#include "platform/audio/Stream.h"
#include "platform/audio/StreamEndDispatch.h"

namespace qa::platform::audio {

class StreamBank {
  public:
    explicit StreamBank(LibraryCore& core) : core_(core), streams_(core.lastId) {}

    StreamHandle open(const char* path, unsigned mode, int length);
    // Whether open would take the file, from its first bytes.
    bool probe(const char* path);
    bool setLoopCount(StreamHandle handle, int count);
    bool setEndCallback(StreamHandle handle, StreamEndCallback callback, void* user);
    // The channel it plays on, or -1.
    int play(int channel, StreamHandle handle);
    bool stop(StreamHandle handle);
    bool close(StreamHandle handle);
    bool setPosition(StreamHandle handle, unsigned position);
    unsigned position(StreamHandle handle);

    // Under the lock: the stream a number names, null when none.
    Stream* find(std::uintptr_t id) const { return streams_.find(id); }
    // Under the lock: starts the stream from its start (or where it was stopped) on a free channel as
    // the music that follows, unless it plays or is paused on a channel; its channel, or -1. The
    // caller's next play call of it keeps it going on that channel.
    int startFollowing(std::uintptr_t id);
    // Under the lock: stops a stream started as the music that follows, back to its start.
    void stopFollower(std::uintptr_t id);

    // Under the lock, after a play call took a channel by number: streams that lost their channel
    // forget it.
    void forgetLostChannels();
    // Under the lock: the channel playing what `owner` tags is being stopped; a stream it played
    // keeps its place (stopped, not ended).
    void channelStopped(std::uintptr_t owner);
    // With `lock` held on the library's lock: marks the streams among `ended` (owners of channels
    // whose sound ended) and calls their end notifications.
    void dispatchEnded(std::unique_lock<std::mutex>& lock, const std::vector<std::uintptr_t>& ended);

  private:
    void stopLocked(Stream& s);

    LibraryCore& core_;
    HandleTable<Stream, StreamHandle> streams_;
    StreamEndDispatch endDispatch_;
};

}  // namespace qa::platform::audio
