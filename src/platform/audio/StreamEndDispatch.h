// The end notifications of streams that played to their end. The streams are marked under the
// library's lock; each notification is then called without it, so that it may call the library.
// A notification belongs to the play that ended: when the stream was played again before its turn
// came, it is not called. Playing or closing a stream from another thread waits while its
// notification runs, so that what the caller does afterwards is not undone by it.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/HandleTable.h"
#include "platform/audio/SoundLibrary.h"
#include "platform/audio/Stream.h"

namespace qa::platform::audio {

class StreamEndDispatch {
  public:
    using Streams = HandleTable<Stream, StreamHandle>;

    // With `lock` held, and held again on return: the streams among `ended` (owners of channels that
    // ended; samples' are skipped) lose their channel and are marked as played to the end, then
    // their notifications are called one by one. A stream closed or played again meanwhile is
    // skipped.
    void dispatch(std::unique_lock<std::mutex>& lock, const Streams& streams,
                  const std::vector<std::uintptr_t>& ended);

    // With `lock` held: waits until no notification of stream `id` is running, unless it runs on
    // this thread (a notification may close its own stream).
    void waitUntilDone(std::unique_lock<std::mutex>& lock, std::uintptr_t id);

  private:
    struct Ended {
        std::uintptr_t id;
        std::uint64_t play;  // the stream's play count when it ended
    };

    std::condition_variable done_;
    // The stream whose notification is running, and on which thread.
    std::uintptr_t running_ = 0;
    std::thread::id thread_;
};

}  // namespace qa::platform::audio
