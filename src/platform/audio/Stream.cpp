// Stream reading with look-ahead and looping.
#include "platform/audio/Stream.h"

#include <algorithm>
#include <cstring>

namespace qa::platform::audio {

Stream::Stream(std::unique_ptr<Decoder> decoder) : decoder_(std::move(decoder)), buffer_(kBufferFrames * 2) {}

std::size_t Stream::read(float* out, std::size_t frames) {
    std::size_t done = 0;
    while (done < frames) {
        if (available_ == 0 && !refill()) break;
        const std::size_t n = std::min(frames - done, available_);
        std::memcpy(out + 2 * done, buffer_.data() + 2 * offset_, n * 2 * sizeof(float));
        offset_ += n;
        available_ -= n;
        position_ += n;
        done += n;
    }
    // Look ahead, so that the end is known with the last frame read rather than one read later.
    if (available_ == 0) refill();
    return done;
}

bool Stream::refill() {
    // Two rounds: the rest of this pass, then (when looping) the start of the next one. An empty
    // stream never loops forever.
    for (int round = 0; round < 2; ++round) {
        if (!decoderDone_) {
            const std::size_t n = decoder_->readStereo(buffer_.data(), kBufferFrames);
            if (n > 0) {
                offset_ = 0;
                available_ = n;
                return true;
            }
            decoderDone_ = true;
        }
        if (!mayLoop() || !decoder_->seek(0)) return false;
        ++loopsDone_;
        decoderDone_ = false;
        position_ = 0;
    }
    return false;
}

bool Stream::seek(std::uint64_t frame) {
    const std::uint64_t len = decoder_->length();
    if (len > 0 && frame > len) return false;
    if (!decoder_->seek(frame)) return false;
    offset_ = 0;
    available_ = 0;
    decoderDone_ = false;
    position_ = frame;
    return true;
}

bool Stream::rewind() {
    loopsDone_ = 0;
    ended = false;
    return seek(0);
}

}  // namespace qa::platform::audio
