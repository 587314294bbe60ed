// SDL audio device fed by queueing.
#include "platform/audio/sdl/SdlQueuedDevice.h"

#include <SDL.h>

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
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 2048;
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
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
