// Whatever an output takes its sound from: interleaved stereo floats at the output's rate.
#pragma once

#include <cstddef>

namespace qa::platform::audio {

class RenderSource {
  public:
    virtual ~RenderSource() = default;
    // Fills `out` with the next `frames` frames.
    virtual void render(float* out, std::size_t frames) = 0;
};

}  // namespace qa::platform::audio
