// Decoding through libsndfile.
#include "platform/audio/decoders/SndfileDecoder.h"

#include <sndfile.h>

#include <cstdio>

namespace qa::platform::audio {

namespace {

// libsndfile reads through these with the decoder's input stream as the user data.
InputStream& inputOf(void* user) {
    return *static_cast<InputStream*>(user);
}

sf_count_t inputLength(void* user) {
    return inputOf(user).size();
}

sf_count_t seekInput(sf_count_t offset, int whence, void* user) {
    return inputOf(user).seek(offset, whence);
}

sf_count_t readInput(void* out, sf_count_t bytes, void* user) {
    if (bytes <= 0) return 0;
    return static_cast<sf_count_t>(inputOf(user).read(out, static_cast<std::size_t>(bytes)));
}

sf_count_t refuseWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t tellInput(void* user) {
    return inputOf(user).tell();
}

}  // namespace

SndfileDecoder::~SndfileDecoder() {
    if (file_) sf_close(file_);
}

std::unique_ptr<Decoder> SndfileDecoder::open(std::unique_ptr<InputStream> file) {
    if (!file) return nullptr;
    std::unique_ptr<SndfileDecoder> d(new SndfileDecoder());
    d->input_ = std::move(file);
    static SF_VIRTUAL_IO io{&inputLength, &seekInput, &readInput, &refuseWrite, &tellInput};
    SF_INFO info{};
    d->file_ = sf_open_virtual(&io, SFM_READ, &info, d->input_.get());
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
