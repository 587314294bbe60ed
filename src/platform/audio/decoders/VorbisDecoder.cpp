// Ogg Vorbis decoding.
#include "platform/audio/decoders/VorbisDecoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>

namespace qa::platform::audio {

namespace {

// libvorbisfile reads through these with the decoder's input stream as the data source. The stream
// belongs to the decoder, so clearing the Vorbis file leaves it alone.
std::size_t readInput(void* out, std::size_t size, std::size_t count, void* source) {
    if (size == 0) return 0;
    return static_cast<InputStream*>(source)->read(out, size * count) / size;
}

int seekInput(void* source, ogg_int64_t offset, int whence) {
    return static_cast<InputStream*>(source)->seek(offset, whence) < 0 ? -1 : 0;
}

int keepInput(void*) {
    return 0;
}

long tellInput(void* source) {
    return static_cast<long>(static_cast<InputStream*>(source)->tell());
}

}  // namespace

struct VorbisDecoder::File {
    std::unique_ptr<InputStream> input;
    OggVorbis_File vf{};
    bool open = false;
    ~File() {
        if (open) ov_clear(&vf);
    }
};

VorbisDecoder::VorbisDecoder() : file_(std::make_unique<File>()) {}
VorbisDecoder::~VorbisDecoder() = default;

std::unique_ptr<Decoder> VorbisDecoder::open(std::unique_ptr<InputStream> file) {
    if (!file) return nullptr;
    std::unique_ptr<VorbisDecoder> d(new VorbisDecoder());
    d->file_->input = std::move(file);
    const ov_callbacks callbacks{&readInput, &seekInput, &keepInput, &tellInput};
    if (ov_open_callbacks(d->file_->input.get(), &d->file_->vf, nullptr, 0, callbacks) != 0) return nullptr;
    d->file_->open = true;
    vorbis_info* info = ov_info(&d->file_->vf, -1);
    if (!info || info->channels < 1 || info->rate < 1 || info->rate > 1000000) return nullptr;
    d->rate_ = static_cast<int>(info->rate);
    d->channels_ = info->channels;
    ogg_int64_t total = ov_pcm_total(&d->file_->vf, -1);
    d->length_ = total > 0 ? static_cast<std::uint64_t>(total) : 0;
    return d;
}

bool VorbisDecoder::seek(std::uint64_t frame) {
    if (frame > static_cast<std::uint64_t>(INT64_MAX)) return false;
    return ov_pcm_seek(&file_->vf, static_cast<ogg_int64_t>(frame)) == 0;
}

std::size_t VorbisDecoder::readNative(float* out, std::size_t frames) {
    const int channels = channels_;
    std::size_t done = 0;
    int holes = 0;
    while (done < frames) {
        float** pcm = nullptr;
        int link = 0;
        const int want = static_cast<int>(std::min<std::size_t>(frames - done, 4096));
        long n = ov_read_float(&file_->vf, &pcm, want, &link);
        if (n == OV_HOLE && ++holes < 64) continue;  // a gap in the data; the stream goes on
        if (n <= 0) break;
        // A later link may have another layout: map it onto the first link's channels.
        vorbis_info* info = ov_info(&file_->vf, link);
        const int linkChannels = info && info->channels > 0 ? info->channels : channels;
        for (long i = 0; i < n; ++i) {
            for (int c = 0; c < channels; ++c)
                out[(done + i) * channels + c] = pcm[std::min(c, linkChannels - 1)][i];
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

}  // namespace qa::platform::audio
