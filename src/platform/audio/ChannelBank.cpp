// Channel operations.
#include "platform/audio/ChannelBank.h"

namespace qa::platform::audio {

bool ChannelBank::stop(int channel) {
    return core_.withChannel(channel, false, [&](Channel& c) {
        streams_.channelStopped(c.owner());
        c.release();
        return true;
    });
}

bool ChannelBank::playing(int channel) {
    std::lock_guard lock(core_.mutex);
    return core_.mixer && core_.mixer->find(channel) != nullptr;
}

bool ChannelBank::setPaused(int channel, bool paused) {
    return core_.withChannel(channel, false, [&](Channel& c) { c.paused = paused; });
}

bool ChannelBank::paused(int channel) {
    return core_.withChannel(channel, false, [](Channel& c) { return c.paused; });
}

bool ChannelBank::setVolume(int channel, int volume) {
    return core_.withChannel(channel, false, [&](Channel& c) { c.volume = std::clamp(volume, 0, 256); });
}

bool ChannelBank::setFrequency(int channel, int frequency) {
    return core_.withChannel(channel, false, [&](Channel& c) {
        return c.setFrequency(frequency) || core_.fail(kErrInvalidParameter);
    });
}

bool ChannelBank::setPan(int channel, int pan) {
    return core_.withChannel(channel, false, [&](Channel& c) { c.pan = std::clamp(pan, 0, 255); });
}

bool ChannelBank::setPosition(int channel, unsigned position) {
    return core_.withChannel(channel, false, [&](Channel& c) {
        return c.setPosition(position) || core_.fail(kErrInvalidParameter);
    });
}

unsigned ChannelBank::position(int channel) {
    return core_.withChannel(channel, 0u, [](Channel& c) { return LibraryCore::toUnsigned(c.position()); });
}

bool ChannelBank::setLoopMode(int channel, unsigned mode) {
    return core_.withChannel(channel, false, [&](Channel& c) { c.setLoop(LibraryCore::loops(mode)); });
}

}  // namespace qa::platform::audio
