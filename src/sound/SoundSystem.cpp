// Sound start-up.
#include "sound/SoundSystem.h"

#include <cstdio>

#include "platform/audio/SoundLibrary.h"
#include "sound/SoundErrorText.h"

namespace qa::sound {

SoundSystem::SoundSystem(platform::audio::SoundLibrary& library, bool enabled, void* mainWindow) {
    if (!enabled) return;
    if (library.FSOUND_GetVersion() < kMinimumVersion) {
        std::printf("Error : Wrong DLL version %.02f - expected using Fsoundfx %.02f\n",
                    static_cast<double>(library.FSOUND_GetVersion()), static_cast<double>(kMinimumVersion));
    }
    if (mainWindow) library.FSOUND_SetHWND(mainWindow);
    if (!library.FSOUND_Init(kMixRate, kSoftwareChannels, kInitFlags)) {
        std::printf("Error: %s\n", SoundErrorText(library.FSOUND_GetError()));
        return;
    }
    std::printf("FSOUND Output Method : ");
    switch (library.FSOUND_GetOutput()) {
        case 0:
            std::printf("FSOUND_OUTPUT_NOSOUND\n");
            break;
        case 1:
            std::printf("FSOUND_OUTPUT_WINMM\n");
            break;
        case 2:
            std::printf("FSOUND_OUTPUT_DSOUND\n");
            break;
        case 4:
            std::printf("FSOUND_OUTPUT_OSS\n");
            break;
        case 5:
            std::printf("FSOUND_OUTPUT_ESD\n");
            break;
        case 6:
            std::printf("FSOUND_OUTPUT_ALSA\n");
            break;
        case 7:
            std::printf("FSOUND_OUTPUT_ASIO\n");
            break;
        default:
            break;  // 3 and unknown methods: the line stays open
    }
}

}  // namespace qa::sound
