// Reading a sample, wrapping to its start when it loops.
#include "platform/audio/SampleSource.h"

#include <algorithm>
#include <cstring>

namespace qa::platform::audio {

std::size_t SampleSource::read(float* out, std::size_t frames) {
    std::size_t done = 0;
    while (done < frames) {
        if (position_ >= data_->length) {
            if (!loopable()) break;
            position_ = 0;
        }
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(frames - done, data_->length - position_));
        std::memcpy(out + 2 * done, data_->frames.data() + 2 * position_, n * 2 * sizeof(float));
        position_ += n;
        done += n;
    }
    return done;
}

bool SampleSource::seek(std::uint64_t frame) {
    if (frame > data_->length) return false;
    position_ = frame;
    return true;
}

}  // namespace qa::platform::audio
