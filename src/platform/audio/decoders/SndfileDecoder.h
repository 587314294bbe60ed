// WAV, AIFF, FLAC and the other formats of libsndfile.
#pragma once

#include <memory>

#include "platform/audio/decoders/Decoder.h"
#include "platform/file/InputStream.h"

struct sf_private_tag;

namespace qa::platform::audio {

class SndfileDecoder : public Decoder {
  public:
    // Null when libsndfile does not recognise the file.
    static std::unique_ptr<Decoder> open(std::unique_ptr<InputStream> file);
    ~SndfileDecoder() override;
    bool seek(std::uint64_t frame) override;

  protected:
    std::size_t readNative(float* out, std::size_t frames) override;

  private:
    SndfileDecoder() = default;
    // Read by libsndfile through its virtual input; outlives the handle.
    std::unique_ptr<InputStream> input_;
    sf_private_tag* file_ = nullptr;
};

}  // namespace qa::platform::audio
