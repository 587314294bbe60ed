// Decoding through libsndfile.
#include "platform/audio/decoders/SndfileDecoder.h"

#include <sndfile.h>

#include <cstdio>

namespace qa::platform::audio {

SndfileDecoder::~SndfileDecoder() {
    if (file_) sf_close(file_);
}

std::unique_ptr<Decoder> SndfileDecoder::open(const std::string& nativePath) {
    std::unique_ptr<SndfileDecoder> d(new SndfileDecoder());
    SF_INFO info{};
    d->file_ = sf_open(nativePath.c_str(), SFM_READ, &info);
    if (!d->file_) return nullptr;
    if (info.channels < 1 || info.samplerate < 1 || info.samplerate > 1000000 || info.frames < 0)
        return nullptr;
    d->rate_ = info.samplerate;
    d->channels_ = info.channels;
    d->length_ = static_cast<std::uint64_t>(info.frames);
    return d;
}

bool SndfileDecoder::seek(std::uint64_t frame) {
    if (frame > length_) return false;
    return sf_seek(file_, static_cast<sf_count_t>(frame), SEEK_SET) >= 0;
}

std::size_t SndfileDecoder::readNative(float* out, std::size_t frames) {
    sf_count_t n = sf_readf_float(file_, out, static_cast<sf_count_t>(frames));
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

}  // namespace qa::platform::audio
