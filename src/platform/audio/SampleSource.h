// One channel's reading of a sample in memory.
#pragma once

#include <memory>

#include "platform/audio/ChannelSource.h"
#include "platform/audio/DecodedSound.h"

namespace qa::platform::audio {

class SampleSource : public ChannelSource {
  public:
    SampleSource(std::shared_ptr<const DecodedSound> data, bool loop) : data_(std::move(data)), loop_(loop) {}

    int rate() const override { return data_->rate; }
    std::size_t read(float* out, std::size_t frames) override;
    bool atEnd() const override { return !loopable() && position_ >= data_->length; }
    std::uint64_t position() const override {
        return loopable() && position_ >= data_->length ? 0 : position_;
    }
    std::uint64_t length() const override { return data_->length; }
    bool seek(std::uint64_t frame) override;
    void setLoop(bool loop) override { loop_ = loop; }

  private:
    bool loopable() const { return loop_ && data_->length > 0; }

    std::shared_ptr<const DecodedSound> data_;
    std::uint64_t position_ = 0;
    bool loop_;
};

}  // namespace qa::platform::audio
