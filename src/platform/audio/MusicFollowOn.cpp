// Starting the next piece of music at the end of the current one.
#include "platform/audio/MusicFollowOn.h"

namespace qa::platform::audio {

MusicFollowOn::Piece MusicFollowOn::pieceOf(MusicHandle music) const {
    using Modules = HandleTable<Module, ModuleHandle>;
    using Streams = HandleTable<Stream, StreamHandle>;
    if (music.module && modules_.find(Modules::idOf(music.module)))
        return {Modules::idOf(music.module), false};
    if (music.stream && streams_.find(Streams::idOf(music.stream)))
        return {Streams::idOf(music.stream), true};
    return {};
}

void MusicFollowOn::stopFollower() {
    if (follower_.id == 0) return;
    if (follower_.stream) {
        streams_.stopFollower(follower_.id);
    } else if (Module* m = modules_.find(follower_.id)) {
        m->stop();
    }
    follower_ = {};
}

bool MusicFollowOn::setNext(MusicHandle current, MusicHandle next) {
    return core_.guarded(false, [&] {
        std::lock_guard lock(core_.mutex);
        if (!core_.mixer) return core_.fail(kErrNotInitialised);
        const Piece now = pieceOf(current);
        // Started early for a list that did not move on to it: it goes.
        if (follower_.id != now.id || follower_.stream != now.stream) stopFollower();
        follower_ = {};
        ended_ = {};
        current_ = now;
        next_ = now.id != 0 ? pieceOf(next) : Piece{};
        core_.mixer->watch(next_.id != 0 ? current_.id : 0);
        return true;
    });
}

bool MusicFollowOn::followed(MusicHandle current) {
    return core_.guarded(false, [&] {
        std::lock_guard lock(core_.mutex);
        const Piece p = pieceOf(current);
        return p.id != 0 && p.id == ended_.id && p.stream == ended_.stream;
    });
}

void MusicFollowOn::start(float* out, std::size_t frames, std::vector<std::uintptr_t>& ended) {
    const Piece from = current_;
    const Piece next = next_;
    current_ = {};
    next_ = {};
    if (next.id == 0) return;
    Mixer& mixer = *core_.mixer;
    if (next.stream) {
        const int channel = streams_.startFollowing(next.id);
        if (channel == -1) return;
        mixer.mixChannel(channel, out, frames, ended);
    } else {
        Module* m = modules_.startFollowing(next.id);
        if (!m) return;
        mixer.mixModule(*m, out, frames);
    }
    ended_ = from;
    follower_ = next;
}

}  // namespace qa::platform::audio
