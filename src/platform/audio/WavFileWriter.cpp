// WAV writing through libsndfile.
#include "platform/audio/WavFileWriter.h"

#include <sndfile.h>

namespace qa::platform::audio {

WavFileWriter::WavFileWriter(const std::string& nativePath, int rate, int channels) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    if (rate < 1 || channels < 1 || !sf_format_check(&info)) return;
    file_ = sf_open(nativePath.c_str(), SFM_WRITE, &info);
    if (file_) sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

WavFileWriter::~WavFileWriter() {
    close();
}

bool WavFileWriter::write(const float* frames, std::size_t count) {
    if (!file_) return false;
    if (sf_writef_float(file_, frames, static_cast<sf_count_t>(count)) != static_cast<sf_count_t>(count))
        failed_ = true;
    return !failed_;
}

bool WavFileWriter::close() {
    if (!file_) return false;
    const bool closed = sf_close(file_) == 0;
    file_ = nullptr;
    return closed && !failed_;
}

}  // namespace qa::platform::audio
