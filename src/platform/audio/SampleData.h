// A sound decoded whole into memory, with the defaults a channel playing it starts from.
#pragma once

#include <cstdint>
#include <vector>

namespace qa::platform::audio {

struct SampleData {
    std::vector<float> frames;  // interleaved stereo
    std::uint64_t length = 0;   // in frames
    int rate = 44100;
    int volume = 255;  // 0 to 255
    int pan = 128;
    int priority = 128;
    bool loop = false;  // the sample's mode: new channels loop it
};

}  // namespace qa::platform::audio
