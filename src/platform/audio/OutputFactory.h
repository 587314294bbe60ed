// Chooses and starts where the library's mix goes: the sound device (falling back to the no-sound
// output when none opens), the no-sound output, or the caller's own pulls.
#pragma once

#include <memory>

#include "platform/audio/Output.h"
#include "platform/audio/RenderSource.h"

namespace qa::platform::audio {

enum class OutputKind {
    Device,   // the sound device, or the no-sound output when no device opens
    NoSound,  // the no-sound output
    Pull,     // the caller pulls the mix (headless runs)
    // The sound device mixed in its own callback, without a thread (the page); without a device the
    // caller pulls the mix.
    DeviceInCallback,
};

class OutputFactory {
  public:
    explicit OutputFactory(OutputKind kind) : kind_(kind) {}
    virtual ~OutputFactory();
    OutputFactory(const OutputFactory&) = delete;
    OutputFactory& operator=(const OutputFactory&) = delete;

    OutputKind kind() const { return kind_; }
    // An output taking sound from `source` at `rate`, started; null when none could be started.
    virtual std::unique_ptr<Output> start(RenderSource& source, int rate);

  private:
    const OutputKind kind_;
    // A sound device that did not open, kept until the factory goes so that the sound device
    // layer is shut down then rather than while the program starts.
    std::unique_ptr<Output> unopenedDevice_;
};

}  // namespace qa::platform::audio
