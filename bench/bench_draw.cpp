// Frame drawing cost on the software device: one full-screen picture, 50 sprites of 128 x 128 (some
// scaled or mirrored) and 2,000 bitmap-font glyphs, drawn through the items as the main loop draws
// them. Reported per frame; run with --benchmark_repetitions for the median.
#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/gfx/Device.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Sprite.h"
#include "platform/gfx/sdl/HeadlessGraphics.h"
#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "scene/TextItem.h"

namespace fs = std::filesystem;
using namespace qa;

namespace {

void savePicture(const fs::path& path, int w, int h, auto colour) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < w; ++x) row[x] = colour(x, y);
    }
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
}

// The scene of the benchmark, in a temporary folder, on the headless device.
class DrawScene {
  public:
    DrawScene() {
        dir_ = fs::temp_directory_path() / ("quorvart-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        savePicture(dir_ / "back.png", 1024, 768, [](int x, int y) {
            return 0xFF000000u | std::uint32_t(x / 4) << 16 | std::uint32_t(y / 3) << 8 | 0x40u;
        });
        // A round sprite: opaque inside, a soft edge, transparent corners.
        savePicture(dir_ / "ball.png", 128, 128, [](int x, int y) {
            const double d = std::hypot(x - 63.5, y - 63.5);
            const auto a = static_cast<std::uint32_t>(std::clamp((64.0 - d) * 64.0, 0.0, 255.0));
            return a << 24 | 0xE0A040u;
        });
        // Font sheet: 16 x 16 cells, glyphs 10 pixels wide with transparent gaps inside.
        savePicture(dir_ / "font.png", 256, 256, [](int x, int y) {
            const int cx = x % 16, cy = y % 16;
            return (cx < 10 && cy < 14 && (cx + cy) % 3 != 0) ? 0xFFFFFFFFu : 0x00000000u;
        });
        // 40 lines of 49 letters and a line end: 2,000 glyph draws (the line end is drawn too).
        std::string lines;
        for (int line = 0; line < 40; ++line) {
            for (int i = 0; i < 49; ++i) lines.push_back(static_cast<char>('A' + (line + i) % 26));
            lines.push_back('\n');
        }
        std::ofstream(dir_ / "text.txt", std::ios::binary) << lines;

        scene::SceneState& state = state_;
        platform::gfx::HeadlessGraphics graphics;
        platform::gfx::PresentParameters p;
        p.backBufferWidth = 1024;
        p.backBufferHeight = 768;
        device_ = graphics.createDevice(0, platform::gfx::DeviceType::Reference, nullptr, 0, p);
        sprite_ = device_->createSprite();
        state.pictures.setDevice(device_.get());
        state.sprite = sprite_.get();

        const std::string d = dir_.string() + "/";
        auto* text = state.make<scene::TextItem>(d + "font.png", d + "text.txt");
        text->size = {1000, 700, 0};
        text->centre = {0, 0, 0};
        text->position = {10, 10, 0};
        state.rootItems.push_back(text);
        for (int i = 0; i < 50; ++i) {
            auto* ball = state.make<scene::ImageItem>(d + "ball.png");
            ball->position = {static_cast<float>(64 + (i * 97) % 900),
                              static_cast<float>(64 + (i * 61) % 640), 0};
            if (i % 5 == 1) ball->scale = {1.5f, 1.5f, 1};
            if (i % 5 == 2) ball->scale = {0.75f, 0.75f, 1};
            if (i % 10 == 3) ball->scale = {-1, 1, 1};
            state.rootItems.push_back(ball);
        }
        auto* back = state.make<scene::ImageItem>(d + "back.png");
        back->centre = {0, 0, 0};
        state.rootItems.push_back(back);
    }

    ~DrawScene() {
        scene::SceneState& state = state_;
        state.reset();
        state.sprite = nullptr;
        state.pictures.setDevice(nullptr);
        sprite_.reset();
        device_.reset();
        fs::remove_all(dir_);
    }

    // One frame as the main loop draws it.
    void frame() {
        scene::SceneState& state = state_;
        device_->clear(platform::gfx::kClearTarget, 0xFF000000u, 1.0f, 0);
        device_->beginScene();
        state.drawnItems.clear();
        for (auto it = state.rootItems.rbegin(); it != state.rootItems.rend(); ++it) (*it)->draw();
        device_->endScene();
        device_->present();
    }

    platform::gfx::Device& device() { return *device_; }

  private:
    fs::path dir_;
    std::unique_ptr<platform::gfx::Device> device_;
    std::unique_ptr<platform::gfx::Sprite> sprite_;
    scene::SceneState state_;
};

void BM_SoftwareFrame(benchmark::State& state) {
    DrawScene scene;
    scene.frame();  // the first frame uploads the pictures
    for (auto _ : state) scene.frame();
}
BENCHMARK(BM_SoftwareFrame)->Unit(benchmark::kMillisecond);

// The runner's frames that no screenshot asks for: the same drawing with pixel work switched off.
void BM_FrameWithoutPixels(benchmark::State& state) {
    DrawScene scene;
    scene.device().setPixelsWanted(false);
    for (auto _ : state) scene.frame();
}
BENCHMARK(BM_FrameWithoutPixels)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
