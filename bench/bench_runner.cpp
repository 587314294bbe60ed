// The headless runner's cost per frame when no screenshot is asked for (the device skips pixel
// work): quorvart-run plays the demo disk as a child process, a short and a long run; the difference
// of their CPU times over the difference of their frames is the cost of one frame, start-up and
// shutdown cancelling out. With the sound off, and with the sound mixed in virtual time (no WAV file
// written). Also an hour of virtual time (225,000 frames of 16 ms) run whole.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdlib>
#include <string>

namespace {

double childCpuSeconds() {
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
}

// CPU seconds of one run of the demo; negative when the run failed.
double runDemo(int frames, bool sound) {
    const std::string cmd = std::string("'") + QA_RUNNER_EXE + "' '" + QA_SOURCE_DIR + "/demo' --frames " +
                            std::to_string(frames) + " --sound " + (sound ? "on" : "off") +
                            " >/dev/null 2>&1";
    const double before = childCpuSeconds();
    if (std::system(cmd.c_str()) != 0) return -1;
    return childCpuSeconds() - before;
}

void BM_RunnerFrame(benchmark::State& state) {
    const bool sound = state.range(0) != 0;
    constexpr int kShort = 1000, kLong = 20000;
    for (auto _ : state) {
        const double a = runDemo(kShort, sound);
        const double b = runDemo(kLong, sound);
        if (a < 0 || b < 0) {
            state.SkipWithError("quorvart-run failed");
            return;
        }
        state.SetIterationTime((b - a) / (kLong - kShort));
    }
}
BENCHMARK(BM_RunnerFrame)
    ->ArgName("sound")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void BM_RunnerHour(benchmark::State& state) {
    const bool sound = state.range(0) != 0;
    for (auto _ : state) {
        const double cpu = runDemo(225000, sound);
        if (cpu < 0) {
            state.SkipWithError("quorvart-run failed");
            return;
        }
        state.SetIterationTime(cpu);
    }
}
BENCHMARK(BM_RunnerHour)
    ->ArgName("sound")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
