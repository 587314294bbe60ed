// Channel allocation and mixing.
#include "platform/audio/Mixer.h"

#include <algorithm>

namespace qa::platform::audio {

Mixer::Mixer(int rate, int channels)
    : rate_(rate),
      channels_(static_cast<std::size_t>(std::clamp(channels, 1, kMaxChannels))),
      scratch_(kMaxBlock * 2) {}

// Channel numbers carry the slot's generation above the slot index; they stay positive.
int Mixer::number(std::size_t index) const {
    const std::uint32_t generation = channels_[index].generation() & kGenerationMask;
    return static_cast<int>((generation << kIndexBits) | static_cast<std::uint32_t>(index));
}

int Mixer::start(int request, std::shared_ptr<ChannelSource> source, std::uintptr_t owner, int volume,
                 int pan) {
    std::size_t index = channels_.size();
    if (request == -1) {
        for (std::size_t i = 0; i < channels_.size(); ++i) {
            if (!channels_[i].active()) {
                index = i;
                break;
            }
        }
    } else if (request >= 0 && static_cast<std::size_t>(request) < channels_.size()) {
        index = static_cast<std::size_t>(request);
    }
    if (index == channels_.size()) return -1;
    channels_[index].release();
    channels_[index].start(std::move(source), owner, rate_, volume, pan);
    return number(index);
}

Channel* Mixer::find(int channel) {
    if (channel < 0) return nullptr;
    const std::size_t index = static_cast<std::uint32_t>(channel) & ((1u << kIndexBits) - 1);
    if (index >= channels_.size() || !channels_[index].active() || number(index) != channel) return nullptr;
    return &channels_[index];
}

bool Mixer::stop(int channel) {
    Channel* c = find(channel);
    if (!c) return false;
    c->release();
    return true;
}

void Mixer::stopOwner(std::uintptr_t owner) {
    for (Channel& c : channels_)
        if (c.active() && c.owner() == owner) c.release();
}

void Mixer::removeModule(Module* module) {
    modules_.erase(std::remove_if(modules_.begin(), modules_.end(),
                                  [module](const TaggedModule& m) { return m.module == module; }),
                   modules_.end());
}

void Mixer::render(float* out, std::size_t frames, std::vector<std::uintptr_t>& ended) {
    frames = std::min(frames, kMaxBlock);
    std::fill(out, out + 2 * frames, 0.0f);
    for (Channel& c : channels_) {
        if (!c.active()) continue;
        const std::uintptr_t owner = c.owner();
        std::size_t produced = 0;
        if (!c.mixInto(out, frames, scratch_.data(), &produced)) continue;
        ended.push_back(owner);
        if (owner == watched_ && watched_ != 0) noteWatchedEnd(produced);
    }
    for (const TaggedModule& m : modules_) {
        const bool was = m.module->playing();
        const std::size_t n = m.module->mixInto(out, frames, rate_, scratch_.data());
        if (was && !m.module->playing() && m.owner == watched_ && watched_ != 0) noteWatchedEnd(n);
    }
}

void Mixer::noteWatchedEnd(std::size_t at) {
    watchedEnded_ = true;
    watchedAt_ = at;
    watched_ = 0;
}

void Mixer::watch(std::uintptr_t owner) {
    watched_ = owner;
    watchedEnded_ = false;
}

bool Mixer::watchedEnd(std::size_t& at) {
    if (!watchedEnded_) return false;
    watchedEnded_ = false;
    at = watchedAt_;
    return true;
}

void Mixer::mixChannel(int channel, float* out, std::size_t frames, std::vector<std::uintptr_t>& ended) {
    Channel* c = find(channel);
    if (!c) return;
    const std::uintptr_t owner = c->owner();
    if (c->mixInto(out, std::min(frames, kMaxBlock), scratch_.data())) ended.push_back(owner);
}

void Mixer::mixModule(Module& module, float* out, std::size_t frames) {
    module.mixInto(out, std::min(frames, kMaxBlock), rate_, scratch_.data());
}

}  // namespace qa::platform::audio
