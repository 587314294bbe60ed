// Writes interleaved float frames into a 16-bit PCM WAV file (clipped, not wrapped) through
// libsndfile; the file is complete when the writer is destroyed or closed.
#pragma once

#include <cstddef>
#include <string>

struct sf_private_tag;

namespace qa::platform::audio {

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
    sf_private_tag* file_ = nullptr;
    bool failed_ = false;
};

}  // namespace qa::platform::audio
