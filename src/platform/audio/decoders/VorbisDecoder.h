// Ogg Vorbis files through libvorbisfile.
#pragma once

#include <memory>

#include "platform/audio/decoders/Decoder.h"
#include "platform/file/InputStream.h"

namespace qa::platform::audio {

class VorbisDecoder : public Decoder {
  public:
    // Null when the file is not Ogg Vorbis or cannot be read.
    static std::unique_ptr<Decoder> open(std::unique_ptr<InputStream> file);
    ~VorbisDecoder() override;
    bool seek(std::uint64_t frame) override;

  protected:
    std::size_t readNative(float* out, std::size_t frames) override;

  private:
    struct File;
    VorbisDecoder();
    std::unique_ptr<File> file_;
};

}  // namespace qa::platform::audio
