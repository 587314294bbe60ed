// What a channel plays: frames at the source's own rate, read in order, with a position that can
// be moved and a looping switch.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qa::platform::audio {

class ChannelSource {
  public:
    virtual ~ChannelSource() = default;

    virtual int rate() const = 0;
    // Up to `frames` interleaved stereo frames; fewer only when the source has ended.
    virtual std::size_t read(float* out, std::size_t frames) = 0;
    // Nothing more will be read (it has ended and does not loop).
    virtual bool atEnd() const = 0;
    // The next frame to be read, from the start of the sound.
    virtual std::uint64_t position() const = 0;
    // Length in frames; 0 when unknown.
    virtual std::uint64_t length() const = 0;
    virtual bool seek(std::uint64_t frame) = 0;
    virtual void setLoop(bool loop) = 0;
};

}  // namespace qa::platform::audio
