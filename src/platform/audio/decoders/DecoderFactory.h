// Opens a sound file with the decoder that its content calls for: the formats with a signature in
// the first bytes first, then each remaining decoder in turn, all on the one opened file.
#pragma once

#include <memory>
#include <string>

#include "platform/FileSource.h"
#include "platform/audio/decoders/Decoder.h"

namespace qa::platform::audio {

class DecoderFactory {
  public:
    // The file of `files` named as a Windows program writes it, decoded while it is read. Null with
    // `error` set to the sound library's code (file not found, not loadable, unknown format) when no
    // decoder takes it.
    static std::unique_ptr<Decoder> open(FileSource& files, const std::string& windowsPath, int& error);
    // The same for a file of the disk folder.
    static std::unique_ptr<Decoder> open(const std::string& windowsPath, int& error);
};

}  // namespace qa::platform::audio
