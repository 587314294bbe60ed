// Sound start-up: checks the library's version, attaches it to the main window, initialises it
// (44100 Hz, 288 software channels) and reports the output method it chose, all on standard output.
#pragma once

namespace qa::platform::audio {
class SoundLibrary;
}

namespace qa::sound {

class SoundSystem {
  public:
    static constexpr float kMinimumVersion = 3.63f;
    static constexpr int kMixRate = 44100;
    static constexpr int kSoftwareChannels = 288;
    static constexpr unsigned kInitFlags = 2;  // keep playing without the input focus

    // Starts `library`. With `enabled` false nothing at all happens. `mainWindow` may be null.
    SoundSystem(platform::audio::SoundLibrary& library, bool enabled, void* mainWindow);
};

}  // namespace qa::sound
