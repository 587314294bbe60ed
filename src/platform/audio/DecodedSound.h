// A sound file decoded whole into memory, shared by every sample loaded from that file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file/FileSource.h"

namespace qa::platform::audio {

struct DecodedSound {
    std::vector<float> frames;  // interleaved stereo
    std::uint64_t length = 0;   // in frames
    int rate = 44100;

    // Kept by the sample bank, under the library's lock: the file it was decoded from (its key and
    // its stamp when decoded) and how many samples hold it.
    std::string fileKey;
    FileStamp stamp;
    int samples = 0;
};

}  // namespace qa::platform::audio
