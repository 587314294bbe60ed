// The devices that present into a real SDL window (skipped where there is no display): the
// reference device shows the back buffer in the window and presents at the display's pace; the
// hardware request never hands out a software rasteriser; the accelerated device draws the same
// straight into a window of its size as into its back-buffer texture.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>

#include "platform/file/FolderSource.h"
#include "platform/gfx/Sprite.h"
#include "platform/gfx/Texture.h"
#include "platform/gfx/sdl/SdlDevice.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/gfx/sdl/WindowDevice.h"
#include "support/FakeWindow.h"
#include "support/PictureMaker.h"
#include "support/TempDisk.h"

namespace qa::platform::gfx {
namespace {

class SdlWindowDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << "no display: " << SDL_GetError();
        window_ = SDL_CreateWindow("gfx test", 0, 0, 1024, 768, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
        if (!window_) GTEST_SKIP() << "no window: " << SDL_GetError();
        parameters_.backBufferWidth = 1024;
        parameters_.backBufferHeight = 768;
        parameters_.windowed = 1;
    }
    void TearDown() override {
        if (window_) SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    SDL_Window* window_ = nullptr;
    PresentParameters parameters_;
};

TEST_F(SdlWindowDevice, ReferenceDevicePresentsIntoTheWindowAtTheDisplaysPace) {
    test::FakeWindow w;
    w.native = window_;
    SdlGraphics graphics;
    // The display's order: two hardware requests (each may make and drop a renderer on the window),
    // then the reference device on the same window.
    for (int i = 0; i < 2; ++i) graphics.createDevice(0, DeviceType::Hardware, &w, 0, parameters_).reset();
    std::unique_ptr<Device> device(graphics.createDevice(0, DeviceType::Reference, &w, 0, parameters_));
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->clear(kClearTarget, 0xFF2040FFu, 1, 0));
    ASSERT_TRUE(device->present());
    SDL_Surface* shown = SDL_GetWindowSurface(window_);
    ASSERT_NE(shown, nullptr);
    Uint8 r = 0, g = 0, b = 0;
    SDL_LockSurface(shown);
    SDL_GetRGB(*static_cast<Uint32*>(shown->pixels), shown->format, &r, &g, &b);
    SDL_UnlockSurface(shown);
    EXPECT_EQ(r, 0x20);
    EXPECT_EQ(g, 0x40);
    EXPECT_EQ(b, 0xFF);
    // Presents never come faster than the display refreshes: a loop cannot spin.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i) device->present();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(3 * 1000 / 240));
}

TEST_F(SdlWindowDevice, HardwareRequestRefusesSoftwareRasterisers) {
    test::FakeWindow w;
    w.native = window_;
    SdlGraphics graphics;
    std::unique_ptr<Device> device(graphics.createDevice(0, DeviceType::Hardware, &w, 0, parameters_));
    if (!device) GTEST_SKIP() << "no accelerated renderer other than a software rasteriser";
    auto* sdl = static_cast<SdlDevice*>(device.get());
    SDL_RendererInfo info;
    ASSERT_EQ(SDL_GetRendererInfo(sdl->renderer(), &info), 0);
    EXPECT_FALSE(WindowDevice::isSoftwareRasteriser(info.name));
    EXPECT_TRUE(device->clear(kClearTarget, 0xFF112233u, 1, 0));
    std::vector<std::uint32_t> argb;
    int width = 0, height = 0;
    ASSERT_TRUE(device->readBackBuffer(argb, width, height));
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(argb[0], 0xFF112233u);
    EXPECT_TRUE(device->present());
}

TEST_F(SdlWindowDevice, AcceleratedDeviceDrawsTheSameIntoAWindowOfItsSizeAsScaledOntoAnother) {
    test::TempDisk disk;
    test::PictureMaker picture(64, 32, 0x80FF8000u);  // half-transparent orange
    picture.fill(0, 0, 16, 32, 0xFF2060C0u);
    ASSERT_TRUE(picture.savePng("p.png"));
    // Any OpenGL renderer will do for this, a software rasteriser too; the other requests fail.
    SdlGraphics::Options options;
    options.acceptSoftwareRasteriser = true;
    options.waitForRetrace = false;
    SdlGraphics accelerated(options);
    options.refuseAccelerated = true;
    test::FakeWindow w;
    w.native = window_;
    EXPECT_EQ(SdlGraphics(options).createDevice(0, DeviceType::Hardware, &w, 0, parameters_), nullptr);

    // Two frames on a window of the given size, the second one read back before it is presented.
    auto frames = [&](int windowWidth, int windowHeight) {
        SDL_SetWindowSize(window_, windowWidth, windowHeight);
        std::vector<std::uint32_t> argb;
        std::unique_ptr<Device> device(accelerated.createDevice(0, DeviceType::Hardware, &w, 0, parameters_));
        if (!device) return argb;
        std::unique_ptr<Sprite> sprite(device->createSprite());
        ImageInfo info;
        platform::file::FolderSource folder;
        std::shared_ptr<Texture> t = device->createTextureFromFile(folder, "p.png", info);
        // The second frame changes everywhere (another clear colour), so where the window shows the
        // back buffer at its own size it is drawn straight into the window.
        for (std::uint32_t colour : {0xFFFFFFFFu, 0xC0FFFF80u}) {
            EXPECT_TRUE(device->clear(kClearTarget, colour == 0xFFFFFFFFu ? 0xFF000000u : 0xFF102030u, 1, 0));
            sprite->begin(kSpriteAlphaBlend);
            Vec3 at{100, 50, 0};
            EXPECT_TRUE(sprite->draw(t.get(), nullptr, nullptr, &at, colour));
            sprite->end();
            EXPECT_TRUE(device->endScene());
            if (colour == 0xFFFFFFFFu) {
                EXPECT_TRUE(device->present());
            }
        }
        const auto drawn = static_cast<WindowDevice*>(device.get())->lastDrawn();
        EXPECT_EQ(drawn, windowWidth == 1024 ? WindowDevice::Drawn::Window : WindowDevice::Drawn::Texture);
        int width = 0, height = 0;
        EXPECT_TRUE(device->readBackBuffer(argb, width, height));
        EXPECT_EQ(width, 1024);
        EXPECT_TRUE(device->present());
        sprite.reset();
        t.reset();
        return argb;
    };
    const std::vector<std::uint32_t> direct = frames(1024, 768);
    if (direct.empty()) GTEST_SKIP() << "no OpenGL renderer";
    const std::vector<std::uint32_t> scaled = frames(1280, 960);
    ASSERT_EQ(scaled.size(), direct.size());
    EXPECT_EQ(direct[0] & 0xFFFFFFu, 0x102030u);
    EXPECT_NE(direct[60 * 1024 + 105] & 0xFFFFFFu, 0x102030u);  // the picture is there
    std::size_t differing = 0;
    for (std::size_t i = 0; i < direct.size(); ++i)
        differing += (direct[i] & 0xFFFFFFu) != (scaled[i] & 0xFFFFFFu);
    EXPECT_EQ(differing, 0u);
}

}  // namespace
}  // namespace qa::platform::gfx
