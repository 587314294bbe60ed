// Opens a sound file with the decoder that its content calls for: the formats with a signature in
// the first bytes first, then each remaining decoder in turn, all on the one opened file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/audio/decoders/Decoder.h"
#include "platform/file/FileSource.h"

namespace qa::platform::audio {

class DecoderFactory {
  public:
    // The file of `files` named as a Windows program writes it, decoded while it is read. Null with
    // `error` set to the sound library's code (file not found, not loadable, unknown format) when no
    // decoder takes it.
    static std::unique_ptr<Decoder> open(FileSource& files, const std::string& windowsPath, int& error);
    // The same for a file of the disk folder.
    static std::unique_ptr<Decoder> open(const std::string& windowsPath, int& error);
    // Whether a decoder takes the file, judged from its first kProbeBytes bytes alone (a stream is
    // read no further, an archive's entry unpacked no further); `error` as for open when not.
    static bool probe(FileSource& files, const std::string& windowsPath, int& error);

    static constexpr std::size_t kProbeBytes = 64 * 1024;

  private:
    // Decoders read `only` bytes from the file's start, or all of it for 0.
    static std::unique_ptr<Decoder> openFrom(FileSource& files, const std::string& windowsPath, int& error,
                                             std::size_t only);
};

}  // namespace qa::platform::audio
