// How long `quorvart-run --check` takes, start to end as the author waits for it (wall clock of the
// child process, median of five; its CPU time beside it, as the counter cpu_ms, since on a busy
// machine the wall clock mostly measures the wait for a core): on the demo disk, and on a generated
// disk of 10,000 items whose scripts use every kind of lookup, timers, tracks, text items and files.
//   --work=DIR   where the generated disk goes (default: a folder in /tmp)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

fs::path workDir = fs::temp_directory_path() / "quorvart-bench-check";

// 100 pages of 100 items: each page a sized container of buttons (each with a text label) that
// switch pages, hover, change and animate; a timer per page; one picture, font, text, sound and track.
fs::path generatedDisk(int total) {
    fs::path disk = workDir / ("check-" + std::to_string(total));
    const fs::path demo = fs::path(QA_SOURCE_DIR) / "demo" / "data";
    fs::create_directories(disk / "data" / "Quorv Part");
    const auto copy = fs::copy_options::overwrite_existing;
    fs::copy_file(demo / "pics" / "button.png", disk / "data" / "button.png", copy);
    fs::copy_file(demo / "pics" / "font16.png", disk / "data" / "font16.png", copy);
    fs::copy_file(demo / "sfx" / "tick.wav", disk / "data" / "tick.wav", copy);
    fs::copy_file(demo / "Quorv Part" / "01 Quorv Theme.mod", disk / "data" / "Quorv Part" / "a.mod", copy);
    std::ofstream(disk / "data" / "label.txt") << "Button\n";

    std::ofstream xml(disk / "data" / "QuorvArt.XQD");
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<disk>\n";
    const int pages = total / 100;
    for (int p = 0; p < pages; ++p) {
        const std::string page = "p" + std::to_string(p);
        xml << " <item name=\"" << page << "\" w=\"1024\" h=\"768\" show=\"" << (p == 0 ? 1 : 0)
            << "\" onEscape=\"ActivateSingle p0\" onActivate=\"SetTimer t" << p << " 0.02 10 Change " << page
            << " x +1 0 100|Change " << page << " ca -5 0 255;SetTimerEnd t" << p << " Change " << page
            << " x =0\">\n";
        for (int b = 0; b < 49; ++b) {
            const std::string button = page + "b" + std::to_string(b);
            xml << "  <item name=\"" << button << "\" image=\"data\\button.png\" x=\"" << 40 + (b % 7) * 130
                << "\" y=\"" << 40 + (b / 7) * 90 << "\" cx=\"0\" cy=\"0\" onHoverOn=\"Change " << button
                << " cb =90;PlaySfx data\\tick.wav\" onHoverOff=\"Change " << button
                << " cb =255\" onSubmit=\"ActivateSingle p" << (p + 1) % pages << ";ResetTimer t" << p
                << ";PlayTrack .\\data\\Quorv Part\\a.mod\" onDown=\"Hide " << button << ";Activate " << page
                << "b" << (b + 1) % 49 << "\">\n";
            xml << "   <item font=\"data\\font16.png\" image=\"data\\label.txt\" x=\"10\" y=\"10\" w=\"100\" "
                   "h=\"20\"/>\n";
            xml << "  </item>\n";
        }
        xml << "  <item name=\"" << page << "hint\" font=\"data\\font16.png\" image=\"data\\label.txt\" "
            << "x=\"40\" y=\"700\" w=\"400\" h=\"20\"/>\n";
        xml << " </item>\n";
    }
    xml << "</disk>\n";
    return disk;
}

double childCpuSeconds() {
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
}

// Wall-clock seconds of one check, with its CPU seconds; negative when the disk did not check clean.
double check(const fs::path& disk, double& cpu) {
    const std::string cmd =
        std::string("'") + QA_RUNNER_EXE + "' '" + disk.string() + "' --check >/dev/null 2>&1";
    const double cpuBefore = childCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (std::system(cmd.c_str()) != 0) return -1;
    cpu = childCpuSeconds() - cpuBefore;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_CheckDemo(benchmark::State& state) {
    for (auto _ : state) {
        double cpu = 0;
        const double s = check(fs::path(QA_SOURCE_DIR) / "demo", cpu);
        if (s < 0) return state.SkipWithError("the demo does not check clean");
        state.SetIterationTime(s);
        state.counters["cpu_ms"] = cpu * 1000;
    }
}
BENCHMARK(BM_CheckDemo)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void BM_CheckGenerated(benchmark::State& state) {
    const fs::path disk = generatedDisk(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        double cpu = 0;
        const double s = check(disk, cpu);
        if (s < 0) return state.SkipWithError("the generated disk does not check clean");
        state.SetIterationTime(s);
        state.counters["cpu_ms"] = cpu * 1000;
    }
    state.SetLabel(std::to_string(state.range(0)) + " items");
}
BENCHMARK(BM_CheckGenerated)
    ->Arg(10000)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--work=", 7) == 0) workDir = fs::path(argv[i] + 7);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
