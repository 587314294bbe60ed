// The accelerated device drawing frames in part into its back-buffer texture (skipped where there
// is no display or no OpenGL renderer): random copies, random scenes and the demo walk checked pixel
// for pixel against the same frames drawn in full, on a window of the device's size (a frame that
// changes much goes straight into the window) and on a larger one (always the texture); a frame
// with nothing changed draws and presents nothing; lost render targets, a lost device, a resized
// window and pictures freed mid-frame.
#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "platform/gfx/Sprite.h"
#include "platform/gfx/sdl/SdlTexture.h"
#include "platform/gfx/sdl/WindowDevice.h"
#include "support/DrawingScene.h"
#include "support/RandomCopies.h"
#include "support/RandomScene.h"
#include "support/WindowPlay.h"

namespace qa::platform::gfx {
namespace {

namespace fs = std::filesystem;
using Drawn = WindowDevice::Drawn;

struct WindowSize {
    int width;
    int height;
};
// The device's own size (frames that change much are drawn straight into the window), and a larger
// window the back buffer is stretched onto.
constexpr WindowSize kSizes[] = {{1024, 768}, {1280, 960}};

class AcceleratedDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << "no display: " << SDL_GetError();
        video_ = true;
    }
    void TearDown() override {
        device_.reset();
        if (window_) SDL_DestroyWindow(window_);
        if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    // A window of the size with the accelerated device on it (1024 x 768, presents not waiting for
    // the retrace), in the checking mode that counts differences; null when there is none.
    WindowDevice* open(WindowSize size) {
        device_.reset();
        if (window_) SDL_DestroyWindow(window_);
        window_ = SDL_CreateWindow("accelerated", 0, 0, size.width, size.height, SDL_WINDOW_OPENGL);
        if (!window_) return nullptr;
        device_ = WindowDevice::create(window_, 1024, 768, false, false, true);
        if (device_) device_->setVerifyDrawing(true);
        return device_.get();
    }
    std::unique_ptr<WindowDevice> makeDevice(WindowSize size) {
        if (window_) SDL_DestroyWindow(window_);
        window_ = SDL_CreateWindow("accelerated", 0, 0, size.width, size.height, SDL_WINDOW_OPENGL);
        return window_ ? WindowDevice::create(window_, 1024, 768, false, false, true) : nullptr;
    }

    SDL_Window* window_ = nullptr;
    std::unique_ptr<WindowDevice> device_;
    bool video_ = false;
};

std::shared_ptr<SdlTexture> randomPicture(SdlDevice& device, std::mt19937& rng, int w, int h) {
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const std::uint32_t alphas[] = {0x00000000u, 0xFF000000u, 0x80000000u, 0x30000000u};
    for (std::uint32_t& p : argb) p = alphas[rng() % 4] | (rng() & 0xFFFFFFu);
    return std::make_shared<SdlTexture>(&device, w, h, kFormatA8R8G8B8, std::move(argb));
}

// Counts of how frames were drawn.
struct Tally {
    int nothing = 0, inPart = 0, texture = 0, window = 0, skipped = 0;
    void note(const WindowDevice& d) {
        nothing += d.lastDrawn() == Drawn::Nothing;
        inPart += d.lastDrawn() == Drawn::Texture && d.lastFramePartial();
        texture += d.lastDrawn() == Drawn::Texture && !d.lastFramePartial();
        window += d.lastDrawn() == Drawn::Window;
        skipped += d.lastPresentSkipped();
    }
};

// Copies of random pictures moved, recoloured, hidden, scaled by uneven factors (smoothed, and cut
// through by the rectangles drawn again), mirrored and reordered.
TEST_F(AcceleratedDrawing, RandomCopiesDrawnInPartMatchTheFullFrame) {
    for (const WindowSize size : kSizes) {
        WindowDevice* device = open(size);
        if (!device) GTEST_SKIP() << "no OpenGL renderer";
        std::unique_ptr<Sprite> sprite = device->createSprite();
        std::mt19937 rng(11);
        std::vector<std::shared_ptr<Texture>> pictures;
        for (int i = 0; i < 6; ++i) pictures.push_back(randomPicture(*device, rng, 8 + i * 19, 6 + i * 13));
        test::RandomCopies copies(rng, 40, static_cast<int>(pictures.size()), 1024, 768);
        Tally tally;
        for (int frame = 0; frame < 200; ++frame) {
            copies.change(rng);
            if (frame == 100) pictures[0] = randomPicture(*device, rng, 30, 20);  // a picture replaced
            // Now and then a frame that changes everywhere: another clear colour.
            device->clear(kClearTarget, frame % 50 == 49 ? 0xFF000000u : 0xFF102030u, 1, 0);
            device->beginScene();
            sprite->begin(kSpriteAlphaBlend);
            copies.draw(*sprite, pictures, false);
            sprite->end();
            device->endScene();
            device->present();
            tally.note(*device);
        }
        EXPECT_EQ(device->drawMismatches(), 0) << size.width;
        EXPECT_GT(tally.inPart, 100) << size.width;
        EXPECT_GT(tally.nothing, 10) << size.width;
        EXPECT_EQ(tally.skipped, tally.nothing) << size.width;
        // Straight into the window only where it shows the back buffer at its own size.
        if (size.width == 1024) {
            EXPECT_GT(tally.window, 0);
        } else {
            EXPECT_EQ(tally.window, 0);
        }
    }
}

TEST_F(AcceleratedDrawing, RandomlyChangedScenesDrawnInPartMatchTheFullFrame) {
    for (const WindowSize size : kSizes) {
        for (unsigned seed = 1; seed <= 2; ++seed) {
            WindowDevice* device = nullptr;
            test::DrawingScene drawing([&]() -> std::unique_ptr<Device> {
                auto d = makeDevice(size);
                if (d) d->setVerifyDrawing(true);
                device = d.get();
                return d;
            });
            if (!device) GTEST_SKIP() << "no OpenGL renderer";
            test::RandomScene scene(drawing, seed);
            Tally tally;
            for (int frame = 0; frame < 100; ++frame) {
                scene.change(frame);
                drawing.presentFrame();
                tally.note(*device);
            }
            EXPECT_EQ(device->drawMismatches(), 0) << size.width << " seed " << seed;
            EXPECT_GT(tally.inPart, 25) << size.width << " seed " << seed;
            EXPECT_GT(tally.inPart + tally.nothing, 80) << size.width << " seed " << seed;
        }
    }
}

// The demo walk: every page through mouse, keys, wheel and joystick.
TEST_F(AcceleratedDrawing, DemoWalkDrawnInPartMatchesTheFullFrame) {
    const fs::path scenes = QA_TEST_SCENES;
    std::ifstream in(scenes / "demo-walk" / "input.txt");
    std::stringstream input;
    input << in.rdbuf();
    for (const WindowSize size : kSizes) {
        test::WindowPlay::Setup setup;
        setup.disk = scenes.parent_path().parent_path() / "demo";
        setup.input = input.str();
        setup.frames = 400;
        setup.windowWidth = size.width;
        setup.windowHeight = size.height;
        long mismatches = -1;
        Tally tally;
        setup.starting = [](int frame, WindowDevice* device) {
            if (frame == 2 && device) device->setVerifyDrawing(true);
        };
        setup.presented = [&](int, WindowDevice& device) {
            mismatches = device.drawMismatches();
            tally.note(device);
        };
        std::string why;
        if (!test::WindowPlay::play(setup, why)) GTEST_SKIP() << why;
        EXPECT_EQ(mismatches, 0) << size.width;
        EXPECT_GT(tally.inPart, 100) << size.width;
        EXPECT_GT(tally.nothing, 20) << size.width;
    }
}

// A frame as drawn on the window device, read back.
std::vector<std::uint32_t> readBack(Device& device) {
    std::vector<std::uint32_t> argb;
    int w = 0, h = 0;
    EXPECT_TRUE(device.readBackBuffer(argb, w, h));
    for (std::uint32_t& p : argb) p &= 0xFFFFFFu;
    return argb;
}

TEST_F(AcceleratedDrawing, AFrameWithNothingChangedIsNeitherDrawnNorPresentedUntilTheWindowLosesIt) {
    WindowDevice* device = open(kSizes[1]);
    if (!device) GTEST_SKIP() << "no OpenGL renderer";
    std::unique_ptr<Sprite> sprite = device->createSprite();
    std::mt19937 rng(5);
    auto picture = randomPicture(*device, rng, 64, 48);
    Vec3 at{100, 100, 0};
    // A frame of one copy; the picture may be freed after its copy was made, before the frame ends.
    auto frame = [&](bool freeBeforeTheEnd) {
        device->clear(kClearTarget, 0xFF203040u, 1, 0);
        device->beginScene();
        sprite->begin(kSpriteAlphaBlend);
        sprite->draw(picture.get(), nullptr, nullptr, &at, 0xFFFFFFFFu);
        sprite->end();
        if (freeBeforeTheEnd) picture = randomPicture(*device, rng, 64, 48);
        device->endScene();
        device->present();
    };
    frame(false);
    EXPECT_EQ(device->lastDrawn(), Drawn::Texture);
    EXPECT_FALSE(device->lastPresentSkipped());
    const std::vector<std::uint32_t> first = readBack(*device);
    frame(false);
    EXPECT_EQ(device->lastDrawn(), Drawn::Nothing);
    EXPECT_TRUE(device->lastPresentSkipped());
    EXPECT_EQ(readBack(*device), first);

    // The window says it was uncovered: the frame is shown again, still without drawing.
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(window_);
    event.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&event);
    frame(false);
    EXPECT_EQ(device->lastDrawn(), Drawn::Nothing);
    EXPECT_FALSE(device->lastPresentSkipped());
    // And now and then in any case (every 121st frame).
    int presented = 0;
    for (int i = 0; i < 242; ++i) {
        frame(false);
        presented += !device->lastPresentSkipped();
    }
    EXPECT_EQ(presented, 2);

    // Freed between its copy and the end of the frame, at a new place: the copy still draws it.
    at = {300, 200, 0};
    frame(true);
    const std::vector<std::uint32_t> moved = readBack(*device);
    EXPECT_EQ(moved[100 * 1024 + 100], 0x203040u);
    int same = 0, background = 0;
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t was = first[static_cast<std::size_t>(100 + y) * 1024 + 100 + x];
            same += moved[static_cast<std::size_t>(200 + y) * 1024 + 300 + x] == was;
            background += was == 0x203040u;
        }
    }
    EXPECT_EQ(same, 64 * 48);
    EXPECT_LT(background, 64 * 48 / 2);
    EXPECT_EQ(device->drawMismatches(), 0);
    SDL_PumpEvents();
}

// Paints the back-buffer texture over, as a renderer that lost its render targets leaves it.
void spoil(WindowDevice& device) {
    SDL_Renderer* r = device.renderer();
    SDL_SetRenderTarget(r, device.backBufferTexture());
    SDL_SetRenderDrawColor(r, 255, 0, 255, 255);
    SDL_RenderClear(r);
    SDL_SetRenderTarget(r, nullptr);
}

void pushRenderEvent(Uint32 type) {
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
}

TEST_F(AcceleratedDrawing, LostTargetsALostDeviceAndAResizedWindowAreDrawnInFull) {
    WindowDevice* device = open(kSizes[0]);
    if (!device) GTEST_SKIP() << "no OpenGL renderer";
    std::unique_ptr<Sprite> sprite = device->createSprite();
    std::mt19937 rng(9);
    auto big = randomPicture(*device, rng, 1024, 768);
    auto small = randomPicture(*device, rng, 40, 40);
    Vec3 bigAt{0, 0, 0}, smallAt{500, 300, 0};
    auto frame = [&] {
        device->clear(kClearTarget, 0xFF000000u, 1, 0);
        device->beginScene();
        sprite->begin(kSpriteAlphaBlend);
        sprite->draw(big.get(), nullptr, nullptr, &bigAt, 0xFFFFFFFFu);
        sprite->draw(small.get(), nullptr, nullptr, &smallAt, 0xFFFFFFFFu);
        sprite->end();
        device->endScene();
        device->present();
    };
    frame();
    frame();
    smallAt.x += 3;
    frame();
    ASSERT_EQ(device->lastDrawn(), Drawn::Texture);
    const std::vector<std::uint32_t> held = readBack(*device);

    // Lost pixels without the renderer saying so are what the checking mode catches.
    spoil(*device);
    frame();
    EXPECT_EQ(device->lastDrawn(), Drawn::Nothing);
    EXPECT_EQ(device->drawMismatches(), 1);
    // Said: the next frame is drawn in full, though nothing changed.
    spoil(*device);
    pushRenderEvent(SDL_RENDER_TARGETS_RESET);
    frame();
    EXPECT_EQ(device->lastDrawn(), Drawn::Texture);
    EXPECT_FALSE(device->lastPresentSkipped());
    EXPECT_EQ(readBack(*device), held);
    EXPECT_EQ(device->drawMismatches(), 1);

    // A frame that changes everywhere goes straight into the window; the texture then still holds
    // the frame before, so the next frame, which changes little, is drawn into it in full.
    bigAt.x = 1;
    frame();
    EXPECT_EQ(device->lastDrawn(), Drawn::Window);
    smallAt.y += 5;
    frame();
    EXPECT_EQ(device->lastDrawn(), Drawn::Texture);
    EXPECT_FALSE(device->lastFramePartial());
    smallAt.y += 5;
    frame();
    EXPECT_TRUE(device->lastFramePartial());
    EXPECT_EQ(device->drawMismatches(), 1);

    // A lost device: every picture uploads again and the frame is drawn in full.
    const std::vector<std::uint32_t> before = readBack(*device);
    pushRenderEvent(SDL_RENDER_DEVICE_RESET);
    frame();
    EXPECT_NE(device->lastDrawn(), Drawn::Nothing);
    EXPECT_EQ(readBack(*device), before);

    // A larger window: the frame is shown stretched from the texture, drawn in full there; changes
    // after that are drawn in part, never straight into the window.
    SDL_SetWindowSize(window_, kSizes[1].width, kSizes[1].height);
    SDL_PumpEvents();
    frame();
    EXPECT_EQ(device->lastDrawn(), Drawn::Texture);
    EXPECT_FALSE(device->lastPresentSkipped());
    smallAt.x += 7;
    frame();
    EXPECT_EQ(device->lastDrawn(), Drawn::Texture);
    EXPECT_TRUE(device->lastFramePartial());
    bigAt.x = 0;
    frame();
    EXPECT_EQ(device->lastDrawn(), Drawn::Texture);
    EXPECT_EQ(device->drawMismatches(), 1);
}

// A frame drawn over the previous one (no clear) after a frame that went straight into the window,
// presented or not yet: it is drawn over that frame, as a frame drawn in full in one go gives it.
TEST_F(AcceleratedDrawing, AFrameDrawnOverTheOneBeforeFindsItWhereverThatWent) {
    WindowDevice* device = open(kSizes[0]);
    if (!device) GTEST_SKIP() << "no OpenGL renderer";
    std::unique_ptr<Sprite> sprite = device->createSprite();
    std::mt19937 rng(21);
    auto big = randomPicture(*device, rng, 1024, 768);
    auto small = randomPicture(*device, rng, 40, 40);
    auto frame = [&](bool clear, float bigX, bool drawSmall, bool present) {
        if (clear) device->clear(kClearTarget, 0xFF000000u, 1, 0);
        device->beginScene();
        sprite->begin(kSpriteAlphaBlend);
        Vec3 bigAt{bigX, 0, 0}, smallAt{500, 300, 0};
        if (clear) sprite->draw(big.get(), nullptr, nullptr, &bigAt, 0xFFFFFFFFu);
        if (drawSmall) sprite->draw(small.get(), nullptr, nullptr, &smallAt, 0xFFFFFFFFu);
        sprite->end();
        device->endScene();
        if (present) device->present();
    };
    for (const bool presentBetween : {true, false}) {
        frame(true, 0, false, true);
        frame(true, 1, false, presentBetween);
        ASSERT_EQ(device->lastDrawn(), Drawn::Window);
        frame(false, 0, true, true);
        const std::vector<std::uint32_t> over = readBack(*device);
        frame(true, 1, true, true);
        EXPECT_FALSE(device->lastFramePartial());
        EXPECT_EQ(readBack(*device), over) << presentBetween;
    }
}

}  // namespace
}  // namespace qa::platform::gfx
