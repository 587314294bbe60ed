// The software mixer: a fixed set of channels and the playing modules, mixed into interleaved
// stereo floats at one rate. Not thread-safe: the sound library serialises every use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/Channel.h"
#include "platform/audio/Module.h"

namespace qa::platform::audio {

class Mixer {
  public:
    static constexpr int kMaxChannels = 4096;
    static constexpr std::size_t kMaxBlock = 1024;

    Mixer(int rate, int channels);
    int rate() const { return rate_; }

    // Starts `source` on a channel: `request` -1 takes the first free channel, 0 and up that channel
    // (ending what it played). The channel number, or -1 when none is free or the request is wrong.
    int start(int request, std::shared_ptr<ChannelSource> source, std::uintptr_t owner, int volume, int pan);
    // The channel a number names while the sound started there plays; null otherwise.
    Channel* find(int channel);
    bool stop(int channel);
    // Ends every channel playing what `owner` tags.
    void stopOwner(std::uintptr_t owner);

    void addModule(Module* module) { modules_.push_back(module); }
    void removeModule(Module* module);

    // Mixes up to kMaxBlock frames into `out` (overwritten). The owners of channels whose sound
    // ended are appended to `ended`.
    void render(float* out, std::size_t frames, std::vector<std::uintptr_t>& ended);

  private:
    static constexpr int kIndexBits = 12;
    static constexpr std::uint32_t kGenerationMask = (1u << (31 - kIndexBits)) - 1;
    int number(std::size_t index) const;

    int rate_;
    std::vector<Channel> channels_;
    std::vector<Module*> modules_;
    std::vector<float> scratch_;
};

}  // namespace qa::platform::audio
