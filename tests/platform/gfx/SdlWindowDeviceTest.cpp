// The devices that present into a real SDL window (skipped where there is no display): the
// reference device shows the back buffer in the window and presents at the display's pace; the
// hardware request never hands out a software rasteriser.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>

#include "platform/gfx/Sprite.h"
#include "platform/gfx/sdl/SdlDevice.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/gfx/sdl/WindowDevice.h"
#include "platform/window/Window.h"

namespace qa::platform::gfx {
namespace {

// A window that only hands over its SDL window.
class NativeWindow : public window::Window {
  public:
    explicit NativeWindow(SDL_Window* w) : window_(w) {}
    bool createLauncher() override { return false; }
    bool launcherMessage(window::Message&) override { return false; }
    void setChecked(int, bool) override {}
    bool isChecked(int) const override { return false; }
    void destroyControl(int) override {}
    bool peekMessage(window::Message&) override { return false; }
    bool clientRect(window::Rect&) const override { return false; }
    bool windowRect(window::Rect&) const override { return false; }
    void setWindowPos(int, int, int, int) override {}
    void setWindowSize(int, int) override {}
    bool cursorPos(window::Point&) const override { return false; }
    void showCursor(bool) override {}
    void messageBox(const std::string&, const std::string&) override {}
    void* nativeHandle() const override { return window_; }

  private:
    SDL_Window* window_;
};

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
    NativeWindow w(window_);
    SdlGraphics graphics;
    // The display's order: two hardware requests (each may make and drop a renderer on the window),
    // then the reference device on the same window.
    for (int i = 0; i < 2; ++i) delete graphics.createDevice(0, DeviceType::Hardware, &w, 0, parameters_);
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
    NativeWindow w(window_);
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

}  // namespace
}  // namespace qa::platform::gfx
