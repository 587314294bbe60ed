// Opening SDL's default audio device the way every SDL sound output here wants it.
#pragma once

#include <SDL.h>

namespace qa::platform::audio {

// Opens the default device for stereo 32-bit floats at `rate`, `frames` to a buffer, filled by
// `callback` (or by queueing when it is null); SDL converts to whatever the device takes, so no
// change of format is allowed. The device is left paused. 0 when there is none. SDL's audio must
// be initialised.
SDL_AudioDeviceID openSdlAudioDevice(int rate, int frames, SDL_AudioCallback callback, void* user);

}  // namespace qa::platform::audio
