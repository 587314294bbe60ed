// One loaded sample: the decoded sound it shares with every sample of the same file, and its own
// defaults and mode, which a channel playing it starts from.
#pragma once

#include <memory>

#include "platform/audio/DecodedSound.h"

namespace qa::platform::audio {

struct SampleData {
    std::shared_ptr<DecodedSound> sound;
    int volume = 255;  // 0 to 255
    int pan = 128;
    int priority = 128;
    bool loop = false;  // the sample's mode: new channels loop it
};

}  // namespace qa::platform::audio
