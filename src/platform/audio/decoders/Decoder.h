// A sound file opened for decoding from its start: its rate, channel layout and length, and its
// frames in order as interleaved stereo floats, with seeking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qa::platform::audio {

class Decoder {
  public:
    virtual ~Decoder() = default;
    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    int rate() const { return rate_; }
    int channels() const { return channels_; }
    // Length in frames; 0 when the format cannot tell.
    std::uint64_t length() const { return length_; }

    // Up to `frames` frames as interleaved stereo (mono is doubled, further channels are dropped);
    // 0 at the end of the data or after a decoding error.
    std::size_t readStereo(float* out, std::size_t frames);
    // Moves to a frame from the start; false when the format cannot get there.
    virtual bool seek(std::uint64_t frame) = 0;

  protected:
    // Up to `frames` frames of channels() interleaved floats each.
    virtual std::size_t readNative(float* out, std::size_t frames) = 0;

    int rate_ = 0;
    int channels_ = 0;
    std::uint64_t length_ = 0;

  private:
    std::vector<float> scratch_;
};

}  // namespace qa::platform::audio
