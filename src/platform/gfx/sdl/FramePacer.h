// Keeps presents at least one display refresh interval apart, for outputs that cannot wait for the
// vertical retrace (or claim to and do not), so a frame loop never spins.
#pragma once

#include <chrono>

struct SDL_Window;

namespace qa::platform::gfx {

class FramePacer {
  public:
    using Clock = std::chrono::steady_clock;

    // The window's display refresh rate (60 Hz when unknown); `fraction` of its interval is the
    // least time between two presents (1 where nothing waits, less where the retrace is waited for).
    FramePacer(SDL_Window* window, double fraction);
    explicit FramePacer(Clock::duration interval) : interval_(interval) {}

    // Sleeps until the interval since the previous call has passed.
    void wait();
    // A present went out now by other means: the next wait counts from here.
    void restart() {
        last_ = Clock::now();
        started_ = true;
    }
    Clock::duration interval() const { return interval_; }

  private:
    Clock::duration interval_;
    Clock::time_point last_{};
    bool started_ = false;
};

}  // namespace qa::platform::gfx
