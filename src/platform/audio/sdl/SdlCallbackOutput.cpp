// SDL audio device output mixed in the callback.
#include "platform/audio/sdl/SdlCallbackOutput.h"

#include <SDL.h>

#include "platform/audio/SoundLibrary.h"
#include "platform/audio/sdl/SdlAudioDevice.h"

namespace qa::platform::audio {

bool SdlCallbackOutput::start(RenderSource& source, int rate) {
    stop();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystem_ = true;
    device_ = openSdlAudioDevice(rate, kDeviceFrames, &SdlCallbackOutput::callback, this);
    if (device_ == 0) return false;
    source_ = &source;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SdlCallbackOutput::stop() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
    }
    source_ = nullptr;
    if (subsystem_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        subsystem_ = false;
    }
}

int SdlCallbackOutput::method() const {
    return kOutputSoundServer;  // the browser's audio mixes it with the rest of the system's
}

void SdlCallbackOutput::callback(void* self, std::uint8_t* stream, int bytes) {
    auto* out = static_cast<SdlCallbackOutput*>(self);
    const std::size_t frames = static_cast<std::size_t>(bytes) / (2 * sizeof(float));
    if (!out->source_) {
        SDL_memset(stream, 0, static_cast<std::size_t>(bytes));
        return;
    }
    out->source_->render(reinterpret_cast<float*>(stream), frames);
    out->delivered_.fetch_add(frames, std::memory_order_relaxed);
}

}  // namespace qa::platform::audio
