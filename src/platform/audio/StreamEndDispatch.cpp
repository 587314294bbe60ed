// Marking ended streams and calling their notifications outside the lock.
#include "platform/audio/StreamEndDispatch.h"

namespace qa::platform::audio {

void StreamEndDispatch::dispatch(std::unique_lock<std::mutex>& lock, const Streams& streams,
                                 const std::vector<std::uintptr_t>& ended) {
    std::vector<Ended> due;
    for (std::uintptr_t id : ended) {
        Stream* stream = streams.find(id);
        if (!stream) continue;  // a sample's channel
        stream->channel = -1;
        stream->ended = true;
        due.push_back({id, stream->plays});
    }
    // The lock is let go during each notification: each stream is looked up afresh.
    for (const Ended& end : due) {
        const std::uintptr_t id = end.id;
        Stream* stream = streams.find(id);
        if (!stream || !stream->callback || stream->plays != end.play) continue;
        const StreamEndCallback callback = stream->callback;
        void* user = stream->user;
        running_ = id;
        thread_ = std::this_thread::get_id();
        lock.unlock();
        try {
            callback(Streams::handleOf(id), nullptr, 0, user);
        } catch (...) {
        }
        lock.lock();
        running_ = 0;
        done_.notify_all();
    }
}

void StreamEndDispatch::waitUntilDone(std::unique_lock<std::mutex>& lock, std::uintptr_t id) {
    done_.wait(lock,
               [&] { return running_ == 0 || running_ != id || thread_ == std::this_thread::get_id(); });
}

}  // namespace qa::platform::audio
