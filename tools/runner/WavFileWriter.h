// Writes interleaved float frames into a 16-bit PCM WAV file (clipped, not wrapped) through
// libsndfile; the file is written under a temporary name and takes its own when the writer is closed
// (or destroyed), only if every sample and the header were written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct sf_private_tag;

namespace qa::platform {
class OutputFile;
}

namespace qa::runner {

class WavFileWriter {
  public:
    WavFileWriter(const std::string& nativePath, int rate, int channels);
    ~WavFileWriter();
    WavFileWriter(const WavFileWriter&) = delete;
    WavFileWriter& operator=(const WavFileWriter&) = delete;

    bool ok() const { return file_ != nullptr; }
    // Frames of channels() floats each; false when the file could not take them.
    bool write(const float* frames, std::size_t count);
    // Finishes the file; false when it could not be completed.
    bool close();

  private:
    std::unique_ptr<platform::OutputFile> out_;
    sf_private_tag* file_ = nullptr;
    int channels_ = 0;
    std::int64_t frames_ = 0;
    bool failed_ = false;
};

}  // namespace qa::runner
