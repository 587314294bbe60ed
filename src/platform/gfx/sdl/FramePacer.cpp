// Present pacing by the display's refresh interval.
#include "platform/gfx/sdl/FramePacer.h"

#include <SDL.h>

#include <thread>

namespace qa::platform::gfx {

FramePacer::FramePacer(SDL_Window* window, double fraction) {
    int hz = 0;
    SDL_DisplayMode mode;
    const int display = window ? SDL_GetWindowDisplayIndex(window) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0) hz = mode.refresh_rate;
    if (hz <= 0 || hz > 1000) hz = 60;
    interval_ = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(fraction / hz));
}

void FramePacer::wait() {
    const Clock::time_point now = Clock::now();
    if (started_ && now < last_ + interval_) {
        std::this_thread::sleep_until(last_ + interval_);
        last_ += interval_;
    } else {
        // First present, or a slow frame: the rhythm starts again from now.
        last_ = now;
        started_ = true;
    }
}

}  // namespace qa::platform::gfx
