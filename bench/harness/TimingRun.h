// A timing run of the program itself (bench/run.sh), asked for through the environment: with
// QUORVART_BENCH_FRAMES=N the launcher is answered at once with the stored settings, the window
// closes after N frames, and one line of timings goes to the error output; QUORVART_BENCH_KEYS=
// "F:VK ..." then presses the key with the virtual-key code VK in frame F and releases it in frame
// F + 1. Without them the program runs as it always does.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "harness/BenchTimings.h"
#include "harness/BenchmarkWindow.h"

namespace qa::bench {

class TimingRun {
  public:
    // A timing run over the real window, or null when the environment asks for none.
    static std::unique_ptr<TimingRun> fromEnvironment(platform::window::Window& real);

    TimingRun(platform::window::Window& real, int frames, std::vector<std::pair<int, std::uint32_t>> keys);
    TimingRun(const TimingRun&) = delete;
    TimingRun& operator=(const TimingRun&) = delete;

    // The window the application runs on instead of the real one.
    platform::window::Window& window() { return window_; }
    void report() const { timings_.report(); }

    // QUORVART_BENCH_KEYS text as (frame, virtual-key code) pairs; what cannot be read is left out.
    static std::vector<std::pair<int, std::uint32_t>> parseKeys(const char* text);

  private:
    BenchmarkWindow window_;
    BenchTimings timings_;
};

}  // namespace qa::bench
