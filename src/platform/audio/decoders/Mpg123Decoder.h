// MPEG audio (MP3) files through mpg123, gapless, so that the length is exact.
#pragma once

#include <memory>

#include "platform/audio/decoders/Decoder.h"
#include "platform/file/InputStream.h"

struct mpg123_handle_struct;

namespace qa::platform::audio {

class Mpg123Decoder : public Decoder {
  public:
    // Null when no MPEG audio frames are found or the file cannot be read.
    static std::unique_ptr<Decoder> open(std::unique_ptr<InputStream> file);
    ~Mpg123Decoder() override;
    bool seek(std::uint64_t frame) override;

  protected:
    std::size_t readNative(float* out, std::size_t frames) override;

  private:
    Mpg123Decoder() = default;
    // Read by the handle through its reader callbacks; outlives it.
    std::unique_ptr<InputStream> file_;
    mpg123_handle_struct* handle_ = nullptr;
    bool fileOpen_ = false;
};

}  // namespace qa::platform::audio
