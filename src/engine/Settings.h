// The settings and the application flags.
#pragma once

#include <cstdint>

namespace qa::engine {

struct Settings {
    std::uint8_t windowed = 0;  // 1 = in a window, 0 = full screen
    std::uint8_t usesound = 1;  // 1 = sound on
    std::int32_t screenWidth = 1024;
    std::int32_t screenHeight = 768;
    bool startRequested = false;  // the user started from the launcher
    bool quitRequested = false;   // ends the main loop after the current frame
};

}  // namespace qa::engine
