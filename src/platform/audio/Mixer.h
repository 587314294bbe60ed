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

    // `owner` tags the module for watch().
    void addModule(Module* module, std::uintptr_t owner = 0) { modules_.push_back({module, owner}); }
    void removeModule(Module* module);

    // Mixes up to kMaxBlock frames into `out` (overwritten). The owners of channels whose sound
    // ended are appended to `ended`.
    void render(float* out, std::size_t frames, std::vector<std::uintptr_t>& ended);

    // Watches for the end of what `owner` tags (a module or a channel's sound; 0 watches nothing):
    // after the render call in which it ends, watchedEnd gives true once, with the number of frames
    // of that call it still filled.
    void watch(std::uintptr_t owner);
    bool watchedEnd(std::size_t& at);
    // Adds the next `frames` frames of one channel or one module into `out`, as render does for all
    // (the rest of a block after the sound before them ended).
    void mixChannel(int channel, float* out, std::size_t frames, std::vector<std::uintptr_t>& ended);
    void mixModule(Module& module, float* out, std::size_t frames);

  private:
    static constexpr int kIndexBits = 12;
    static constexpr std::uint32_t kGenerationMask = (1u << (31 - kIndexBits)) - 1;
    int number(std::size_t index) const;
    void noteWatchedEnd(std::size_t at);

    int rate_;
    std::vector<Channel> channels_;
    struct TaggedModule {
        Module* module;
        std::uintptr_t owner;
    };
    std::vector<TaggedModule> modules_;
    std::vector<float> scratch_;
    std::uintptr_t watched_ = 0;
    bool watchedEnded_ = false;
    std::size_t watchedAt_ = 0;
};

}  // namespace qa::platform::audio
