// The cost of one frame of the program: input, drawing, hover test, timers and a present that does
// not wait for the retrace, as process CPU time (a software rasteriser's threads count), on SDL's
// accelerated renderer, on its software renderer and on the runner's device that skips pixel work.
//   - every screen of the demo disk (software renderer, with its drawing work: copies and pixels),
//     and the busiest one on every renderer, and full screen on the accelerated renderer (the back
//     buffer stretched onto the screen);
//   - a generated scene of 10,000 items of which 100 are visible, against the 100 items alone;
//   - the reference disk (bench/reference_disk.py: a full-screen picture, 50 sprites and 2,000
//     glyphs, all moving every frame), on every renderer, writing the draw list of 16 frames
//     (drawlist-reference) for the peer.
// Needs a display for the window renderers (bench/run.sh starts Xvfb). Flags of its own:
//   --work=DIR        where generated disks and draw lists go (default: a folder in /tmp)
//   --busiest=SCREEN  the screen timed on every renderer, whose draw list is written (default read)
//   --reference=DIR   the reference disk's folder (without it the reference frames are not run)
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/FrameRun.h"
#include "support/FrameTiming.h"

namespace fs = std::filesystem;
using namespace qa;
using namespace qa::bench;
using platform::window::VK_DOWN;
using platform::window::VK_RETURN;

namespace {

fs::path workDir = fs::temp_directory_path() / "quorvart-bench";
std::string busiest = "read";
fs::path referenceDisk;

const std::vector<std::string> kScreens = {"home", "read", "notes", "anim", "music", "about"};
constexpr int kWarmup = 100;

// The keys that lead from the menu to a screen: Down to its entry, then Enter. The menu has slid in
// by frame 30; pages fade and slide in well within the warm-up.
std::vector<std::pair<int, platform::window::InputEvent>> keysTo(const std::string& screen) {
    std::vector<std::pair<int, platform::window::InputEvent>> input;
    int entry = 0;
    while (entry < static_cast<int>(kScreens.size()) && kScreens[static_cast<std::size_t>(entry)] != screen)
        ++entry;
    if (entry == 0) return input;
    int frame = 30;
    for (int i = 1; i < entry; ++i, frame += 2) {
        input.emplace_back(frame, keyDown(VK_DOWN));
        input.emplace_back(frame + 1, keyUp(VK_DOWN));
    }
    input.emplace_back(frame, keyDown(VK_RETURN));
    input.emplace_back(frame + 1, keyUp(VK_RETURN));
    return input;
}

void demoFrame(benchmark::State& state, const std::string& screen, Renderer renderer, bool writeDrawList,
               bool windowed = true) {
    FrameRunSetup setup;
    setup.windowed = windowed;
    setup.disk = fs::path(QA_SOURCE_DIR) / "demo";
    setup.renderer = renderer;
    setup.input = keysTo(screen);
    // The headless window's cursor rests off the menu, where a real pointer under Xvfb rests too.
    setup.cursor = {{1, {1000, 20}}};
    setup.warmupFrames = kWarmup;
    if (writeDrawList) setup.drawListOut = workDir / ("drawlist-" + screen);
    runFrames(state, setup);
}

void referenceFrame(benchmark::State& state, Renderer renderer) {
    FrameRunSetup setup;
    setup.disk = referenceDisk;
    setup.renderer = renderer;
    setup.cursor = {{1, {1000, 20}}};
    setup.warmupFrames = 60;
    if (renderer == Renderer::Software) {
        setup.drawListOut = workDir / "drawlist-reference";
        setup.drawListFrames = 16;  // a whole cycle of the text's scroll
    }
    runFrames(state, setup);
}

// A disk of `total` items of which 100 pictures are visible roots; the rest lie in 10 hidden root
// items (subtrees of items with children of their own).
fs::path generatedDisk(int total) {
    fs::path disk = workDir / ("generated-" + std::to_string(total));
    fs::create_directories(disk / "data");
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 64, 64, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < 64; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < 64; ++x) {
            const bool edge = x < 4 || y < 4 || x >= 60 || y >= 60;
            row[x] = edge ? 0x80FFFFFFu
                          : (0xFF000000u | std::uint32_t(x * 4) << 16 | std::uint32_t(y * 4) << 8 | 0x80u);
        }
    }
    IMG_SavePNG(s, (disk / "data" / "tile.png").c_str());
    SDL_FreeSurface(s);
    fs::copy_file(fs::path(QA_SOURCE_DIR) / "demo/data/cursor.png", disk / "data" / "cursor.png",
                  fs::copy_options::overwrite_existing);

    std::ofstream xml(disk / "data" / "QuorvArt.XQD");
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<disk>\n";
    for (int i = 0; i < 100; ++i) {
        xml << " <item name=\"v" << i << "\" image=\"data\\tile.png\" x=\"" << 20 + (i % 10) * 98 << "\" y=\""
            << 20 + (i / 10) * 74 << "\" cx=\"0\" cy=\"0\" onSubmit=\"Hide v" << i << "\"/>\n";
    }
    int left = total - 100;
    for (int g = 0; g < 10 && left > 0; ++g) {
        // Each hidden group: groups of ten pictures under a parent item, until its share is used up.
        int share = left / (10 - g);
        left -= share;
        xml << " <item name=\"hidden" << g << "\" show=\"0\" w=\"1024\" h=\"768\">\n";
        --share;
        while (share > 0) {
            xml << "  <item image=\"data\\tile.png\" x=\"" << (share * 37) % 900 << "\" y=\""
                << (share * 53) % 700 << "\" onHoverOn=\"Hide hidden" << g << "\">\n";
            --share;
            for (int k = 0; k < 9 && share > 0; ++k, --share)
                xml << "   <item image=\"data\\tile.png\" x=\"" << k * 10 << "\" y=\"" << k * 5 << "\"/>\n";
            xml << "  </item>\n";
        }
        xml << " </item>\n";
    }
    xml << "</disk>\n";
    return disk;
}

void generatedFrame(benchmark::State& state, int total, Renderer renderer) {
    FrameRunSetup setup;
    setup.disk = generatedDisk(total);
    setup.renderer = renderer;
    setup.cursor = {{1, {1000, 760}}};
    setup.warmupFrames = 10;
    runFrames(state, setup);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--work=", 7) == 0) {
            workDir = argv[i] + 7;
        } else if (std::strncmp(argv[i], "--busiest=", 10) == 0) {
            busiest = argv[i] + 10;
        } else if (std::strncmp(argv[i], "--reference=", 12) == 0) {
            referenceDisk = fs::absolute(argv[i] + 12);
        } else {
            rest.push_back(argv[i]);
        }
    }
    fs::create_directories(workDir);

    const Renderer renderers[] = {Renderer::Accelerated, Renderer::Software, Renderer::Headless};
    for (const std::string& screen : kScreens) {
        timeFrames(benchmark::RegisterBenchmark(
                       ("BM_DemoScreen/" + screen + "/software").c_str(),
                       [screen](benchmark::State& s) { demoFrame(s, screen, Renderer::Software, true); }),
                   100, 3);
    }
    for (Renderer r : renderers) {
        timeFrames(benchmark::RegisterBenchmark(
                       (std::string("BM_DemoFrame/") + busiest + "/" + rendererName(r)).c_str(),
                       [r](benchmark::State& s) { demoFrame(s, busiest, r, r == Renderer::Software); }),
                   r == Renderer::Headless ? 2000 : 200, 5);
    }
    // Full screen on the accelerated renderer: the back buffer is always stretched onto the screen.
    timeFrames(benchmark::RegisterBenchmark(
                   (std::string("BM_FullScreenFrame/") + busiest + "/accelerated").c_str(),
                   [](benchmark::State& s) { demoFrame(s, busiest, Renderer::Accelerated, false, false); }),
               200, 5);
    for (Renderer r : renderers) {
        if (referenceDisk.empty()) break;
        timeFrames(benchmark::RegisterBenchmark((std::string("BM_ReferenceFrame/") + rendererName(r)).c_str(),
                                                [r](benchmark::State& s) { referenceFrame(s, r); }),
                   r == Renderer::Headless ? 2000 : 200, 5);
    }
    for (Renderer r : renderers) {
        for (int total : {100, 10000}) {
            benchmark::RegisterBenchmark(
                (std::string("BM_GeneratedScene/") + std::to_string(total) + "/" + rendererName(r)).c_str(),
                [r, total](benchmark::State& s) { generatedFrame(s, total, r); })
                ->Iterations(r == Renderer::Headless ? 5000 : 300)
                ->Repetitions(3)
                ->ReportAggregatesOnly(true)
                ->MeasureProcessCPUTime()
                ->Unit(benchmark::kMillisecond);
        }
    }

    int n = static_cast<int>(rest.size());
    benchmark::Initialize(&n, rest.data());
    if (benchmark::ReportUnrecognizedArguments(n, rest.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
