// quorvart: the program itself. It takes no arguments and plays the disk in the working folder
// (the one that holds data/) on the desktop: the SDL window, clock and joystick, and the settings
// file of the user.
//
// For timing runs only (bench/run.sh): with QUORVART_BENCH_FRAMES=N in the environment the launcher
// is answered at once with the stored settings, the window closes after N frames, and one line of
// timings goes to the error output; QUORVART_BENCH_KEYS="F:VK ..." then presses the key with the
// virtual-key code VK in frame F and releases it in frame F + 1. Without them nothing of this is in
// the way.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/Application.h"
#include "platform/FileSettingsStore.h"
#include "platform/SdlClock.h"
#include "platform/SdlJoystick.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/window/BenchmarkWindow.h"
#include "platform/window/sdl/SdlWindow.h"

namespace {

using Wall = std::chrono::steady_clock;

double cpuMs() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);  // every thread: the mixer's, and a software rasteriser's
    return (static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e6 +
            static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec)) *
           1e-3;
}

long maxRssKb() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

double msBetween(Wall::time_point a, Wall::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// The timings of a run with QUORVART_BENCH_FRAMES: when the first frame was presented, the CPU and
// wall time per frame over the frames after the first quarter of the run, and the peak resident set.
class BenchTimings {
  public:
    explicit BenchTimings(int frames) : frames_(frames), from_(std::max(2, frames / 4)) {}

    // Frame n's message step ends after frame n - 1 was presented.
    void step(int frame) {
        if (frame == 2) {
            firstFrame_ = Wall::now();
            firstFrameUnixNs_ = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                    std::chrono::system_clock::now().time_since_epoch())
                                    .count();
        }
        if (frame == from_) {
            fromWall_ = Wall::now();
            fromCpu_ = cpuMs();
        }
        if (frame == frames_) {
            toWall_ = Wall::now();
            toCpu_ = cpuMs();
        }
    }

    void report() const {
        const int n = frames_ - from_;
        if (n <= 0) return;
        std::fprintf(stderr,
                     "quorvart-bench first_frame_unix_ns=%lld first_frame_ms=%.3f frames=%d "
                     "cpu_ms_per_frame=%.4f wall_ms_per_frame=%.4f max_rss_kb=%ld\n",
                     static_cast<long long>(firstFrameUnixNs_), msBetween(start_, firstFrame_), n,
                     (toCpu_ - fromCpu_) / n, msBetween(fromWall_, toWall_) / n, maxRssKb());
    }

  private:
    int frames_;
    int from_;
    Wall::time_point start_ = Wall::now();
    Wall::time_point firstFrame_, fromWall_, toWall_;
    long long firstFrameUnixNs_ = 0;
    double fromCpu_ = 0, toCpu_ = 0;
};

// QUORVART_BENCH_KEYS as (frame, virtual-key code) pairs; what cannot be read is left out.
std::vector<std::pair<int, std::uint32_t>> benchKeys() {
    std::vector<std::pair<int, std::uint32_t>> keys;
    const char* text = std::getenv("QUORVART_BENCH_KEYS");
    std::istringstream in(text ? text : "");
    std::string item;
    while (in >> item) {
        int frame = 0;
        unsigned vk = 0;
        if (std::sscanf(item.c_str(), "%d:%u", &frame, &vk) == 2 && frame > 0 && vk < 256)
            keys.emplace_back(frame, vk);
    }
    return keys;
}

}  // namespace

int main() {
    using namespace qa;
    platform::window::SdlWindow window;
    platform::SdlClock clock;
    platform::SdlJoystick joystick;
    platform::FileSettingsStore settings(platform::FileSettingsStore::defaultPath());
    platform::gfx::SdlGraphics graphics;
    // The sound device, or without one the no-sound output.
    platform::audio::SoftwareSoundLibrary sound(platform::audio::OutputKind::Device);

    app::Application::Platform desktop;
    desktop.window = &window;
    desktop.clock = &clock;
    desktop.joystick = &joystick;
    desktop.settingsStore = &settings;
    desktop.graphics = &graphics;
    desktop.sound = &sound;

    std::unique_ptr<platform::window::BenchmarkWindow> benchWindow;
    std::unique_ptr<BenchTimings> timings;
    if (const char* frames = std::getenv("QUORVART_BENCH_FRAMES")) {
        const int n = std::atoi(frames);
        if (n > 0) {
            benchWindow = std::make_unique<platform::window::BenchmarkWindow>(window);
            timings = std::make_unique<BenchTimings>(n);
            benchWindow->setFrameLimit(n);
            benchWindow->setStepHook(
                [t = timings.get(), w = benchWindow.get(), keys = benchKeys()](int frame) {
                    using namespace platform::window;
                    for (const auto& [at, vk] : keys) {
                        if (frame == at) w->post({WM_KEYDOWN, vk, 0});
                        if (frame == at + 1) w->post({WM_KEYUP, vk, 0});
                    }
                    t->step(frame);
                });
            desktop.window = benchWindow.get();
        }
    }

    app::Application application(desktop);
    const int code = application.run();
    if (code == app::Application::kExitDisplayFailed) {
        // Without a display device the process ends at once; nothing is released first.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(code);
    }
    if (timings) timings->report();
    return code;
}
