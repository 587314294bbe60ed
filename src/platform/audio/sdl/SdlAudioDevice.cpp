// Opening SDL's default audio device.
#include "platform/audio/sdl/SdlAudioDevice.h"

namespace qa::platform::audio {

SDL_AudioDeviceID openSdlAudioDevice(int rate, int frames, SDL_AudioCallback callback, void* user) {
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = static_cast<Uint16>(frames);
    want.callback = callback;
    want.userdata = user;
    SDL_AudioSpec have{};
    return SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
}

}  // namespace qa::platform::audio
