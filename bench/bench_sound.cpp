// Mixing cost: 60 s of one module plus one Ogg Vorbis stream through the pull output, the module
// alone, and openmpt123 rendering the same module to a file (its CPU time, for comparison); and the
// process CPU time that one module plus one Ogg stream playing in real time costs per second, on the
// sound device (or the no-sound output where no device opens; SDL_AUDIODRIVER=disk with
// SDL_DISKAUDIOFILE=/dev/null stands for a device where there is none), output threads included.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/SoftwareSoundLibrary.h"
#include "runner/WavFileWriter.h"

namespace fs = std::filesystem;
using namespace qa::platform::audio;
using qa::runner::WavFileWriter;

namespace {

constexpr int kRate = 44100;
constexpr std::size_t kSeconds = 60;

// The fixtures, made once: a busy four-channel module of about 61 s (tools/gen/make_mod.py) and
// 60 s of a chord encoded as Ogg Vorbis.
const fs::path& fixtures() {
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / "quorvart-bench-sound";
        fs::create_directories(d);
        const std::string mod = (d / "busy.mod").string();
        const std::string wav = (d / "chord.wav").string();
        const std::string ogg = (d / "chord.ogg").string();
        if (!fs::exists(mod)) {
            const std::string cmd = "python3 '" + std::string(QA_SOURCE_DIR) + "/tools/gen/make_mod.py' '" +
                                    mod + "' --orders 8 --rows 64 --speed 6 --busy";
            if (std::system(cmd.c_str()) != 0) std::abort();
        }
        if (!fs::exists(ogg)) {
            std::vector<float> frames(kSeconds * kRate * 2);
            for (std::size_t i = 0; i < kSeconds * kRate; ++i) {
                const double t = static_cast<double>(i) / kRate;
                const float v = static_cast<float>(0.2 * std::sin(2 * M_PI * 220 * t) +
                                                   0.15 * std::sin(2 * M_PI * 277.2 * t) +
                                                   0.1 * std::sin(2 * M_PI * 329.6 * t));
                frames[2 * i] = v;
                frames[2 * i + 1] = v * 0.8f;
            }
            {
                WavFileWriter w(wav, kRate, 2);
                w.write(frames.data(), kSeconds * kRate);
            }
            const std::string cmd = "oggenc --quiet -q 5 -o '" + ogg + "' '" + wav + "'";
            if (std::system(cmd.c_str()) != 0) std::abort();
        }
        return d;
    }();
    return dir;
}

void mix(benchmark::State& state, bool withStream) {
    const fs::path& dir = fixtures();
    SoftwareSoundLibrary library(OutputKind::Pull);
    library.FSOUND_Init(kRate, 288, 2);
    ModuleHandle module = library.FMUSIC_LoadSong((dir / "busy.mod").c_str());
    StreamHandle stream = library.FSOUND_Stream_OpenFile((dir / "chord.ogg").c_str(), kModeLoopOff, 0);
    if (!module || !stream) {
        state.SkipWithError("fixtures did not load");
        return;
    }
    std::vector<float> block(4096 * 2);
    for (auto _ : state) {
        library.FMUSIC_PlaySong(module);
        if (withStream) {
            library.FSOUND_Stream_SetPosition(stream, 0);
            library.FSOUND_Stream_Play(kAnyChannel, stream);
        }
        for (std::size_t done = 0; done < kSeconds * kRate; done += 4096) library.pull(block.data(), 4096);
        benchmark::DoNotOptimize(block.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(
        static_cast<double>(kSeconds) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

double childCpuSeconds() {
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
}

}  // namespace

static void BM_MixModuleAndOgg60s(benchmark::State& state) {
    mix(state, true);
}
BENCHMARK(BM_MixModuleAndOgg60s)->Unit(benchmark::kMillisecond);

static void BM_MixModule60s(benchmark::State& state) {
    mix(state, false);
}
BENCHMARK(BM_MixModule60s)->Unit(benchmark::kMillisecond);

// The reference: openmpt123 renders the whole module (about 61 s) to a 16-bit WAV at 44100 Hz.
// Reported as the child process's CPU time.
static void BM_Openmpt123Render(benchmark::State& state) {
    const fs::path& dir = fixtures();
    const std::string cmd = "openmpt123 --quiet --batch --samplerate 44100 --no-float --force -o '" +
                            (dir / "openmpt123.wav").string() + "' '" + (dir / "busy.mod").string() +
                            "' >/dev/null 2>&1";
    for (auto _ : state) {
        const double before = childCpuSeconds();
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("openmpt123 failed");
            return;
        }
        state.SetIterationTime(childCpuSeconds() - before);
    }
}
BENCHMARK(BM_Openmpt123Render)->UseManualTime()->Unit(benchmark::kMillisecond);

static double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Real time: the module and the stream play for four seconds while the benchmark's thread sleeps.
// The reported time is CPU seconds per second of music (x 100 = per cent of one core).
static void BM_PlayModuleAndOggRealTime(benchmark::State& state) {
    const fs::path& dir = fixtures();
    SoftwareSoundLibrary library(OutputKind::Device);
    library.FSOUND_Init(kRate, 288, 0);
    ModuleHandle module = library.FMUSIC_LoadSong((dir / "busy.mod").c_str());
    StreamHandle stream = library.FSOUND_Stream_OpenFile((dir / "chord.ogg").c_str(), kModeLoopOff, 0);
    if (!module || !stream) {
        state.SkipWithError("fixtures did not load");
        return;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver && std::strcmp(driver, "disk") == 0) {
        state.SetLabel("SDL's disk driver");  // a device that plays in real time, heard by no one
    } else {
        state.SetLabel(library.FSOUND_GetOutput() == 0 ? "no-sound output" : "sound device");
    }
    for (auto _ : state) {
        library.FMUSIC_PlaySong(module);
        library.FSOUND_Stream_SetPosition(stream, 0);
        library.FSOUND_Stream_Play(kAnyChannel, stream);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the output is running
        const double before = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(4));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime((processCpuSeconds() - before) / seconds);
        library.FMUSIC_StopSong(module);
        library.FSOUND_Stream_Stop(stream);
    }
}
BENCHMARK(BM_PlayModuleAndOggRealTime)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
