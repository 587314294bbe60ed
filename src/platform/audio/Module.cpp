// Module playback state over libopenmpt.
#include "platform/audio/Module.h"

namespace qa::platform::audio {

Module::Module(std::unique_ptr<OpenMptModule> song) : song_(std::move(song)) {
    song_->setRepeatCount(-1);
}

void Module::play() {
    song_->rewind();
    playing_ = true;
    paused_ = false;
    framesPlayed_ = 0;
}

void Module::setLooping(bool looping) {
    song_->setRepeatCount(looping ? -1 : 0);
}

bool Module::setSpeed(float speed) {
    return song_->setTempoFactor(speed);
}

std::size_t Module::mixInto(float* mix, std::size_t frames, int rate, float* scratch) {
    if (!playing_ || paused_) return 0;
    const std::size_t n = song_->read(rate, frames, scratch);
    const float gain = static_cast<float>(volume_) / 256.0f;
    for (std::size_t i = 0; i < 2 * n; ++i) mix[i] += scratch[i] * gain;
    framesPlayed_ += n;
    if (n < frames) playing_ = false;
    return n;
}

}  // namespace qa::platform::audio
