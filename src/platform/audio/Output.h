// Where the mix goes: a sound device, the no-sound output or the caller (pull output).
#pragma once

#include <cstdint>

#include "platform/audio/RenderSource.h"

namespace qa::platform::audio {

class Output {
  public:
    virtual ~Output() = default;
    // Starts taking sound from `source` at `rate`; false when the output cannot be opened.
    virtual bool start(RenderSource& source, int rate) = 0;
    // Stops; `source` is no longer used afterwards.
    virtual void stop() = 0;
    // The output-method number reported by FSOUND_GetOutput.
    virtual int method() const = 0;
    // Times the output needed sound that was not ready.
    virtual std::uint64_t underruns() const { return 0; }
    // Frames handed to the device so far (outputs that count them).
    virtual std::uint64_t delivered() const { return 0; }
};

}  // namespace qa::platform::audio
