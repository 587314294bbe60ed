// Channel playback: rate conversion, gain and pan.
#include "platform/audio/Channel.h"

#include <algorithm>
#include <cmath>

namespace qa::platform::audio {

void Channel::start(std::shared_ptr<ChannelSource> source, std::uintptr_t owner, int mixRate, int volume_,
                    int pan_) {
    source_ = std::move(source);
    owner_ = owner;
    ++generation_;
    mixRate_ = mixRate;
    paused = false;
    volume = volume_;
    pan = pan_;
    frequency_ = source_->rate();
    restartConversion();
}

void Channel::release() {
    source_.reset();
    resampler_.reset();
    owner_ = 0;
    paused = false;
}

void Channel::restartConversion() {
    inputOffset_ = 0;
    inputAvailable_ = 0;
    inputEnded_ = false;
    if (frequency_ == mixRate_) {
        resampler_.reset();
        return;
    }
    resampler_ = Resampler::create(frequency_, mixRate_);
    if (resampler_ && input_.size() < kInputFrames * 2) input_.resize(kInputFrames * 2);
}

bool Channel::setFrequency(int hz) {
    if (hz < kMinFrequency || hz > kMaxFrequency) return false;
    if (hz == frequency_) return true;
    // What the converter holds is dropped: go back to the frame being heard.
    const std::uint64_t heard = position();
    frequency_ = hz;
    source_->seek(heard);
    restartConversion();
    return true;
}

std::uint64_t Channel::position() const {
    const std::uint64_t read = source_->position();
    if (!resampler_) return read;
    const double held = static_cast<double>(inputAvailable_) +
                        resampler_->delay() * static_cast<double>(frequency_) / static_cast<double>(mixRate_);
    double heard = static_cast<double>(read) - std::floor(held + 0.5);
    const double length = static_cast<double>(source_->length());
    if (heard < 0.0) heard = length > 0.0 ? std::fmod(heard, length) + length : 0.0;  // looped
    return static_cast<std::uint64_t>(std::max(0.0, heard));
}

bool Channel::setPosition(std::uint64_t frame) {
    if (!source_->seek(frame)) return false;
    if (resampler_) resampler_->clear();
    inputOffset_ = 0;
    inputAvailable_ = 0;
    inputEnded_ = false;
    return true;
}

std::size_t Channel::produce(float* out, std::size_t frames, bool& ended) {
    if (!resampler_) {
        const std::size_t n = source_->read(out, frames);
        ended = source_->atEnd();
        return n;
    }
    std::size_t made = 0;
    int idle = 0;
    while (made < frames) {
        if (inputAvailable_ == 0 && !inputEnded_) {
            inputOffset_ = 0;
            inputAvailable_ = source_->read(input_.data(), kInputFrames);
            if (inputAvailable_ == 0) inputEnded_ = true;
        }
        std::size_t used = 0, got = 0;
        const float* in = inputAvailable_ > 0 ? input_.data() + 2 * inputOffset_ : nullptr;
        resampler_->process(in, inputAvailable_, used, out + 2 * made, frames - made, got);
        inputOffset_ += used;
        inputAvailable_ -= std::min(used, inputAvailable_);
        made += got;
        if (inputEnded_ && inputAvailable_ == 0 && got == 0) {
            ended = true;
            return made;
        }
        // The converter always moves while it has input and room; this only guards against a stall.
        idle = used == 0 && got == 0 ? idle + 1 : 0;
        if (idle > 4) break;
    }
    ended = false;
    return made;
}

bool Channel::mixInto(float* mix, std::size_t frames, float* scratch, std::size_t* produced) {
    if (!source_ || paused) return false;
    bool ended = false;
    const std::size_t n = produce(scratch, frames, ended);
    if (produced) *produced = n;
    // Pan as a balance: the far side fades out, the near side stays at full level.
    const float p = std::clamp((static_cast<float>(pan) - 128.0f) / 127.0f, -1.0f, 1.0f);
    const float gain = static_cast<float>(volume) / 256.0f;
    const float left = gain * (p > 0.0f ? 1.0f - p : 1.0f);
    const float right = gain * (p < 0.0f ? 1.0f + p : 1.0f);
    for (std::size_t i = 0; i < n; ++i) {
        mix[2 * i] += scratch[2 * i] * left;
        mix[2 * i + 1] += scratch[2 * i + 1] * right;
    }
    if (ended) release();
    return ended;
}

}  // namespace qa::platform::audio
