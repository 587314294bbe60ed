// WAV writing through libsndfile into a checked output file.
#include "runner/WavFileWriter.h"

#include <sndfile.h>
#include <sys/stat.h>

#include "platform/file/OutputFile.h"

namespace qa::runner {

namespace {
// The smallest header libsndfile puts before 16-bit PCM samples.
constexpr std::int64_t kHeaderBytes = 44;
}  // namespace

WavFileWriter::WavFileWriter(const std::string& nativePath, int rate, int channels) : channels_(channels) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    if (rate < 1 || channels < 1 || !sf_format_check(&info)) return;
    std::string error;
    out_ = platform::OutputFile::create(nativePath, error);
    if (!out_) return;
    file_ = sf_open_fd(out_->descriptor(), SFM_WRITE, &info, SF_FALSE);
    if (file_) {
        sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    } else {
        out_.reset();
    }
}

WavFileWriter::~WavFileWriter() {
    close();
}

bool WavFileWriter::write(const float* frames, std::size_t count) {
    if (!file_) return false;
    if (sf_writef_float(file_, frames, static_cast<sf_count_t>(count)) != static_cast<sf_count_t>(count))
        failed_ = true;
    frames_ += static_cast<std::int64_t>(count);
    return !failed_;
}

bool WavFileWriter::close() {
    if (!file_) return false;
    bool ok = sf_close(file_) == 0 && !failed_;
    file_ = nullptr;
    // The header is written again at the close; a file shorter than its samples lost some of them.
    struct stat st {};
    ok = ok && ::fstat(out_->descriptor(), &st) == 0 && st.st_size >= kHeaderBytes + frames_ * channels_ * 2;
    if (!ok) out_->fail();
    std::string error;
    ok = out_->commit(error) && ok;
    out_.reset();
    return ok;
}

}  // namespace qa::runner
