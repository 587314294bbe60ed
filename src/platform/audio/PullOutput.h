// The output for headless runs: nothing plays by itself; the caller asks for frames of mix, in its
// own (virtual) time, on its own thread.
#pragma once

#include <cstddef>

#include "platform/audio/Output.h"

namespace qa::platform::audio {

class PullOutput : public Output {
  public:
    bool start(RenderSource& source, int rate) override;
    void stop() override { source_ = nullptr; }
    int method() const override;
    // The next `frames` frames of mix as interleaved stereo; silence while not started.
    void pull(float* out, std::size_t frames);

  private:
    RenderSource* source_ = nullptr;
};

}  // namespace qa::platform::audio
