// One software channel: the source it plays, volume 0 to 256, pan 0 to 255, rate in Hz (converted
// to the mixing rate), pause and position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/ChannelSource.h"
#include "platform/audio/Resampler.h"

namespace qa::platform::audio {

class Channel {
  public:
    static constexpr int kMinFrequency = 100;
    static constexpr int kMaxFrequency = 768000;

    // Starts `source` from its current position at its own rate; `owner` tags what it plays.
    void start(std::shared_ptr<ChannelSource> source, std::uintptr_t owner, int mixRate, int volume, int pan);
    // Frees the channel.
    void release();
    bool active() const { return source_ != nullptr; }
    std::uintptr_t owner() const { return owner_; }
    ChannelSource* source() const { return source_.get(); }
    // Counts the uses of this slot, so that an old channel number no longer reaches a new sound.
    std::uint32_t generation() const { return generation_; }

    bool paused = false;
    int volume = 256;
    int pan = 128;

    int frequency() const { return frequency_; }
    bool setFrequency(int hz);
    // Position in frames of the source, as heard (what the converter still holds is not counted).
    std::uint64_t position() const;
    bool setPosition(std::uint64_t frame);
    void setLoop(bool loop) { source_->setLoop(loop); }

    // Adds the next `frames` frames into `mix`, with `scratch` as large; true when the sound ended
    // during this call (the channel is then free), its last frame the `produced`th. Paused channels
    // add nothing.
    bool mixInto(float* mix, std::size_t frames, float* scratch, std::size_t* produced = nullptr);

  private:
    static constexpr std::size_t kInputFrames = 256;
    // Fills `out` at the mixing rate; fewer frames only when the sound has ended.
    std::size_t produce(float* out, std::size_t frames, bool& ended);
    void restartConversion();

    std::shared_ptr<ChannelSource> source_;
    std::uintptr_t owner_ = 0;
    std::uint32_t generation_ = 0;
    int mixRate_ = 44100;
    int frequency_ = 44100;
    std::unique_ptr<Resampler> resampler_;  // null when the source plays at the mixing rate
    std::vector<float> input_;
    std::size_t inputOffset_ = 0;
    std::size_t inputAvailable_ = 0;
    bool inputEnded_ = false;
};

}  // namespace qa::platform::audio
