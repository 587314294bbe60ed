// SDL audio device fed by queueing.
#include "platform/audio/sdl/SdlQueuedDevice.h"

#include <SDL.h>

#include "platform/audio/sdl/SdlAudioDevice.h"

namespace qa::platform::audio {

SdlQueuedDevice::~SdlQueuedDevice() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlQueuedDevice::open(int rate) {
    if (device_ != 0) return true;
    if (!subsystem_) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        subsystem_ = true;
    }
    device_ = openSdlAudioDevice(rate, 2048, nullptr, nullptr);
    if (device_ == 0) return false;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

bool SdlQueuedDevice::queue(const float* samples, std::size_t frames) {
    if (device_ == 0) return false;
    if (SDL_QueueAudio(device_, samples, static_cast<Uint32>(frames * 2 * sizeof(float))) != 0) return false;
    queued_ += frames;
    return true;
}

}  // namespace qa::platform::audio
