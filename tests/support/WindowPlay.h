// A disk played in a real window on SDL's accelerated renderer (OpenGL; a software rasteriser
// accepted), the way the headless runner plays it: virtual time, input from a script, the launcher
// answered at once, sound off.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace qa::platform::gfx {
class WindowDevice;
}

namespace qa::test {

class WindowPlay {
  public:
    struct Setup {
        std::filesystem::path disk;  // the folder that holds data/
        std::string input;           // an input script, as the runner reads it
        int frames = 60;
        // The window's size in pixels; the device's back buffer is 1024 x 768.
        int windowWidth = 1024;
        int windowHeight = 768;
        // Before frame n starts (frames count from 1), with the device (null before it is made).
        std::function<void(int frame, platform::gfx::WindowDevice* device)> starting;
        // Right after frame n was presented.
        std::function<void(int frame, platform::gfx::WindowDevice& device)> presented;
    };

    // Plays the disk; false with the reason when there is no display or no accelerated renderer.
    static bool play(const Setup& setup, std::string& why);
};

}  // namespace qa::test
