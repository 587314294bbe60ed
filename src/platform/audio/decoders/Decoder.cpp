// Channel layout conversion shared by every decoder.
#include "platform/audio/decoders/Decoder.h"

namespace qa::platform::audio {

std::size_t Decoder::readStereo(float* out, std::size_t frames) {
    if (frames == 0 || channels_ <= 0) return 0;
    if (channels_ == 2) return readNative(out, frames);
    if (channels_ == 1) {
        // Decode into the upper half and spread forwards: frame i is read before slots 2i and 2i+1
        // are written, and those never reach a mono frame not yet spread.
        float* mono = out + frames;
        std::size_t n = readNative(mono, frames);
        for (std::size_t i = 0; i < n; ++i) {
            const float v = mono[i];
            out[2 * i] = v;
            out[2 * i + 1] = v;
        }
        return n;
    }
    const std::size_t c = static_cast<std::size_t>(channels_);
    if (scratch_.size() < frames * c) scratch_.resize(frames * c);
    std::size_t n = readNative(scratch_.data(), frames);
    for (std::size_t i = 0; i < n; ++i) {
        out[2 * i] = scratch_[i * c];
        out[2 * i + 1] = scratch_[i * c + 1];
    }
    return n;
}

}  // namespace qa::platform::audio
