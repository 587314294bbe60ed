// Mixing on demand.
#include "platform/audio/PullOutput.h"

#include <algorithm>

#include "platform/audio/SoundLibrary.h"

namespace qa::platform::audio {

bool PullOutput::start(RenderSource& source, int rate) {
    (void)rate;
    source_ = &source;
    return true;
}

int PullOutput::method() const {
    return kOutputNoSound;
}

void PullOutput::pull(float* out, std::size_t frames) {
    if (!source_) {
        std::fill(out, out + 2 * frames, 0.0f);
        return;
    }
    source_->render(out, frames);
}

}  // namespace qa::platform::audio
