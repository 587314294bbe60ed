// An open stream: a file decoded while it plays, read a little ahead so that its end is known as
// soon as its last frame has been read; its looping, its loop count and its end notification.
#pragma once

#include <memory>
#include <vector>

#include "platform/audio/ChannelSource.h"
#include "platform/audio/SoundLibrary.h"
#include "platform/audio/decoders/Decoder.h"

namespace qa::platform::audio {

class Stream : public ChannelSource {
  public:
    explicit Stream(std::unique_ptr<Decoder> decoder);

    int rate() const override { return decoder_->rate(); }
    std::size_t read(float* out, std::size_t frames) override;
    bool atEnd() const override { return available_ == 0 && decoderDone_ && !mayLoop(); }
    std::uint64_t position() const override { return position_; }
    std::uint64_t length() const override { return decoder_->length(); }
    bool seek(std::uint64_t frame) override;
    void setLoop(bool loop) override { loop_ = loop; }

    // Repeats allowed while looping; -1 for ever.
    void setLoopCount(int count) { loopCount_ = count; }
    // Back to the start for a new play-through.
    bool rewind();

    // What the mixer and the library keep about the stream's play-through.
    int channel = -1;         // the channel playing it, -1 when none
    bool ended = false;       // it played to its end; playing it again starts from the beginning
    std::uint64_t plays = 0;  // play calls so far: tells an end notification which play it belongs to
    bool followed = false;    // started ahead as the music that follows, not played by the caller since
    StreamEndCallback callback = nullptr;
    void* user = nullptr;

  private:
    static constexpr std::size_t kBufferFrames = 4096;
    bool mayLoop() const { return loop_ && (loopCount_ < 0 || loopsDone_ < loopCount_); }
    bool refill();

    std::unique_ptr<Decoder> decoder_;
    std::vector<float> buffer_;
    std::size_t offset_ = 0;
    std::size_t available_ = 0;
    bool decoderDone_ = false;
    std::uint64_t position_ = 0;
    bool loop_ = false;
    int loopCount_ = -1;
    int loopsDone_ = 0;
};

}  // namespace qa::platform::audio
