// MPEG audio decoding.
#include "platform/audio/decoders/Mpg123Decoder.h"

#include <mpg123.h>

#include <cstdio>
#include <mutex>

namespace qa::platform::audio {

namespace {

// mpg123 reads through these callbacks with the decoder's input stream as the handle. The stream
// belongs to the decoder, so closing the handle leaves it alone.
mpg123_ssize_t readInput(void* handle, void* out, std::size_t bytes) {
    auto* file = static_cast<InputStream*>(handle);
    const std::size_t n = file->read(out, bytes);
    if (n == 0 && file->failed()) return -1;
    return static_cast<mpg123_ssize_t>(n);
}

off_t seekInput(void* handle, off_t offset, int whence) {
    return static_cast<off_t>(static_cast<InputStream*>(handle)->seek(offset, whence));
}

void keepInput(void*) {}

}  // namespace

Mpg123Decoder::~Mpg123Decoder() {
    if (!handle_) return;
    if (fileOpen_) mpg123_close(handle_);
    mpg123_delete(handle_);
}

std::unique_ptr<Decoder> Mpg123Decoder::open(std::unique_ptr<InputStream> file) {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });

    std::unique_ptr<Mpg123Decoder> d(new Mpg123Decoder());
    int err = MPG123_OK;
    d->handle_ = mpg123_new(nullptr, &err);
    if (!d->handle_) return nullptr;
    mpg123_handle* h = d->handle_;
    mpg123_param(h, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // Float output at whatever rate and channel count the file has.
    mpg123_format_none(h);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i)
        mpg123_format(h, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);

    if (!file) return nullptr;
    d->file_ = std::move(file);
    if (mpg123_replace_reader_handle(h, &readInput, &seekInput, &keepInput) != MPG123_OK) return nullptr;
    // From here on the handle is closed before it goes, whether or not the opening succeeds.
    d->fileOpen_ = true;
    if (mpg123_open_handle(h, d->file_.get()) != MPG123_OK) return nullptr;
    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(h, &rate, &channels, &encoding) != MPG123_OK) return nullptr;
    if (rate < 1 || channels < 1 || channels > 2 || encoding != MPG123_ENC_FLOAT_32) return nullptr;
    // Reading the whole file once gives the exact (gapless) length.
    if (mpg123_scan(h) != MPG123_OK) return nullptr;
    const off_t length = mpg123_length(h);
    d->rate_ = static_cast<int>(rate);
    d->channels_ = channels;
    d->length_ = length > 0 ? static_cast<std::uint64_t>(length) : 0;
    if (mpg123_seek(h, 0, SEEK_SET) < 0) return nullptr;
    return d;
}

bool Mpg123Decoder::seek(std::uint64_t frame) {
    if (frame > static_cast<std::uint64_t>(INT32_MAX) * 64) return false;
    return mpg123_seek(handle_, static_cast<off_t>(frame), SEEK_SET) >= 0;
}

std::size_t Mpg123Decoder::readNative(float* out, std::size_t frames) {
    const std::size_t frameBytes = sizeof(float) * static_cast<std::size_t>(channels_);
    unsigned char* bytes = reinterpret_cast<unsigned char*>(out);
    std::size_t done = 0;
    int tries = 0;
    while (done < frames * frameBytes) {
        std::size_t got = 0;
        int r = mpg123_read(handle_, bytes + done, frames * frameBytes - done, &got);
        done += got;
        if (r == MPG123_OK) continue;
        // A format change mid-file keeps the output format fixed by mpg123_format; go on reading.
        if (r == MPG123_NEW_FORMAT && ++tries < 8) continue;
        break;
    }
    return done / frameBytes;
}

}  // namespace qa::platform::audio
