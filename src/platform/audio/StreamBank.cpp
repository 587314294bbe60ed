// Stream operations. Opening and closing do their slow work outside the lock.
#include "platform/audio/StreamBank.h"

#include "platform/audio/decoders/DecoderFactory.h"

namespace qa::platform::audio {

StreamHandle StreamBank::open(const char* path, unsigned mode, int length) {
    return core_.guarded(StreamHandle{}, [&]() -> StreamHandle {
        if (!path || length != 0) return core_.fail(kErrInvalidParameter), nullptr;
        if (!core_.started()) return nullptr;
        int error = kErrNone;
        std::unique_ptr<Decoder> decoder = DecoderFactory::open(core_.files(), path, error);
        if (!decoder) return core_.fail(error), nullptr;
        auto stream = std::make_shared<Stream>(std::move(decoder));
        stream->setLoop(LibraryCore::loops(mode));
        std::lock_guard lock(core_.mutex);
        return streams_.add(std::move(stream));
    });
}

bool StreamBank::probe(const char* path) {
    return core_.guarded(false, [&] {
        if (!path) return core_.fail(kErrInvalidParameter);
        if (!core_.started()) return false;
        int error = kErrNone;
        return DecoderFactory::probe(core_.files(), path, error) || core_.fail(error);
    });
}

bool StreamBank::setLoopCount(StreamHandle handle, int count) {
    return core_.with(streams_, handle, false, [&](Stream& s) { s.setLoopCount(count < 0 ? -1 : count); });
}

bool StreamBank::setEndCallback(StreamHandle handle, StreamEndCallback callback, void* user) {
    return core_.with(streams_, handle, false, [&](Stream& s) {
        s.callback = callback;
        s.user = user;
        return true;
    });
}

int StreamBank::play(int channel, StreamHandle handle) {
    return core_.guarded(-1, [&] {
        std::unique_lock lock(core_.mutex);
        // A notification of this stream's last play still running on the mix thread would clear
        // what the caller sets up for this one: it finishes first.
        endDispatch_.waitUntilDone(lock, streams_.idOf(handle));
        const std::shared_ptr<Stream>* owner = streams_.owner(handle);
        if (!owner) return core_.fail(kErrInvalidParameter), -1;
        Stream& s = **owner;
        Mixer& mixer = *core_.mixer;
        // Started ahead as the music that follows: this play is the one it stood for.
        const bool followed = s.followed;
        s.followed = false;
        if (followed && channel == kAnyChannel && s.channel != -1 && mixer.find(s.channel)) return s.channel;
        ++s.plays;
        // A stream plays on one channel at a time; one that played to its end starts again.
        if (s.channel != -1) mixer.stop(s.channel);
        s.channel = -1;
        if (s.ended && !s.rewind()) return core_.fail(kErrPlay), -1;
        const int number = mixer.start(channel, *owner, streams_.idOf(handle), 256, 128);
        if (number == -1) return core_.fail(channel < -1 ? kErrInvalidParameter : kErrChannelAlloc), -1;
        if (channel != kAnyChannel) forgetLostChannels();
        s.channel = number;
        return number;
    });
}

bool StreamBank::stop(StreamHandle handle) {
    return core_.with(streams_, handle, false, [&](Stream& s) {
        stopLocked(s);
        return true;
    });
}

void StreamBank::stopLocked(Stream& s) {
    if (s.channel != -1) core_.mixer->stop(s.channel);
    s.channel = -1;
    s.followed = false;
    s.rewind();
}

int StreamBank::startFollowing(std::uintptr_t id) {
    const std::shared_ptr<Stream>* owner = streams_.owner(streams_.handleOf(id));
    if (!owner) return -1;
    Stream& s = **owner;
    Mixer& mixer = *core_.mixer;
    if (s.channel != -1 && mixer.find(s.channel)) return -1;
    ++s.plays;
    s.channel = -1;
    if (s.ended && !s.rewind()) return -1;
    const int number = mixer.start(kAnyChannel, *owner, id, 256, 128);
    if (number == -1) return -1;
    s.channel = number;
    s.followed = true;
    return number;
}

void StreamBank::stopFollower(std::uintptr_t id) {
    if (Stream* s = streams_.find(id)) stopLocked(*s);
}

bool StreamBank::close(StreamHandle handle) {
    return core_.guarded(false, [&] {
        std::shared_ptr<Stream> gone;
        {
            std::unique_lock lock(core_.mutex);
            gone = streams_.take(handle);
            if (!gone) return core_.fail(kErrInvalidParameter);
            const std::uintptr_t id = streams_.idOf(handle);
            core_.mixer->stopOwner(id);
            // Its end notification may be running on the mix thread with the user value the caller
            // is about to destroy: wait for it.
            endDispatch_.waitUntilDone(lock, id);
        }
        return true;  // the decoder is destroyed here, without the lock
    });
}

bool StreamBank::setPosition(StreamHandle handle, unsigned position) {
    return core_.with(streams_, handle, false, [&](Stream& s) {
        Channel* c = s.channel != -1 ? core_.mixer->find(s.channel) : nullptr;
        const bool moved = c ? c->setPosition(position) : s.seek(position);
        if (!moved) return core_.fail(kErrInvalidParameter);
        s.ended = false;
        return true;
    });
}

unsigned StreamBank::position(StreamHandle handle) {
    return core_.with(streams_, handle, 0u, [&](Stream& s) {
        Channel* c = s.channel != -1 ? core_.mixer->find(s.channel) : nullptr;
        return LibraryCore::toUnsigned(c ? c->position() : s.position());
    });
}

void StreamBank::forgetLostChannels() {
    streams_.forEach([&](std::uintptr_t id, Stream& stream) {
        if (stream.channel == -1) return;
        Channel* c = core_.mixer->find(stream.channel);
        if (!c || c->owner() != id) stream.channel = -1;
    });
}

void StreamBank::channelStopped(std::uintptr_t owner) {
    if (Stream* s = streams_.find(owner)) s->channel = -1;
}

void StreamBank::dispatchEnded(std::unique_lock<std::mutex>& lock, const std::vector<std::uintptr_t>& ended) {
    endDispatch_.dispatch(lock, streams_, ended);
}

}  // namespace qa::platform::audio
