// The SDL devices: the headless device's pixel switch, textures outliving their device, the
// present area, software rasteriser names, and the system font's text handling.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/file/FolderSource.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Sprite.h"
#include "platform/gfx/Texture.h"
#include "platform/gfx/sdl/HeadlessGraphics.h"
#include "platform/gfx/sdl/SdlDevice.h"
#include "platform/gfx/sdl/SdlFont.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/gfx/sdl/WindowDevice.h"
#include "support/PictureMaker.h"
#include "support/TempDisk.h"

namespace qa::platform::gfx {
namespace {

std::unique_ptr<Device> headless() {
    HeadlessGraphics graphics;
    return std::unique_ptr<Device>(
        graphics.createDevice(0, DeviceType::Hardware, nullptr, 0, PresentParameters{}));
}

std::uint32_t pixelAt(Device& device, int x, int y) {
    std::vector<std::uint32_t> argb;
    int w = 0, h = 0;
    EXPECT_TRUE(device.readBackBuffer(argb, w, h));
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    return argb[static_cast<std::size_t>(y) * 1024 + x];
}

TEST(SdlDevice, HeadlessDeviceSkipsPixelWorkWhenNoPixelsAreWanted) {
    test::TempDisk disk;
    test::PictureMaker(4, 4, 0xFF00FF00u).savePng("g.png");
    auto device = headless();
    ASSERT_NE(device, nullptr);
    std::unique_ptr<Sprite> sprite(device->createSprite());
    ImageInfo info;
    platform::file::FolderSource folder;
    std::shared_ptr<Texture> t = device->createTextureFromFile(folder, "g.png", info);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(device->clear(kClearTarget, 0xFF0000FFu, 1, 0));
    EXPECT_EQ(pixelAt(*device, 0, 0), 0xFF0000FFu);

    device->setPixelsWanted(false);
    EXPECT_TRUE(device->clear(kClearTarget, 0xFFFF0000u, 1, 0));
    sprite->begin(kSpriteAlphaBlend);
    EXPECT_TRUE(sprite->draw(t.get(), nullptr, nullptr, nullptr, 0xFFFFFFFFu));
    sprite->end();
    EXPECT_EQ(pixelAt(*device, 0, 0), 0xFF0000FFu);  // neither cleared nor drawn

    device->setPixelsWanted(true);
    sprite->begin(kSpriteAlphaBlend);
    // Mirrored and modulated: the flip path keeps the modulation.
    Vec3 s{-1, 1, 1}, tr{10, 0, 0};
    sprite->setTransform(Matrix::transformation(&s, &tr));
    EXPECT_TRUE(sprite->draw(t.get(), nullptr, nullptr, nullptr, 0xFF808080u));
    sprite->end();
    // Source x lands at 10 - x: the picture covers pixels 6 to 9.
    EXPECT_EQ(pixelAt(*device, 5, 0), 0xFF0000FFu);
    EXPECT_EQ(pixelAt(*device, 6, 3) & 0xFFFFFF, 0x008000u);
    EXPECT_EQ(pixelAt(*device, 9, 0) & 0xFFFFFF, 0x008000u);
    EXPECT_FALSE(sprite->draw(nullptr, nullptr, nullptr, nullptr, 0xFFFFFFFFu));

    // The picture outlives the device: it keeps its pixels and can still be read and released.
    sprite.reset();
    device.reset();
    LockedRect locked;
    EXPECT_TRUE(t->lockRect(locked));
    EXPECT_EQ(t.use_count(), 1);
    t.reset();
}

TEST(SdlDevice, PresentAreaStretchesWindowedAndKeepsTheShapeInFullScreen) {
    SDL_Rect a;
    SdlDevice::presentArea(1920, 1080, 1024, 768, true, a);
    EXPECT_EQ(a.x, 240);
    EXPECT_EQ(a.y, 0);
    EXPECT_EQ(a.w, 1440);
    EXPECT_EQ(a.h, 1080);
    SdlDevice::presentArea(1280, 1024, 1024, 768, true, a);
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(a.y, 32);
    EXPECT_EQ(a.h, 960);
    SdlDevice::presentArea(1920, 1080, 1024, 768, false, a);
    EXPECT_EQ(a.w, 1920);
    EXPECT_EQ(a.h, 1080);
}

TEST(SdlDevice, SoftwareRasterisersAreRecognisedAndWindowlessRequestsFail) {
    EXPECT_TRUE(WindowDevice::isSoftwareRasteriser("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(WindowDevice::isSoftwareRasteriser("Gallium 0.4 on softpipe"));
    EXPECT_TRUE(WindowDevice::isSoftwareRasteriser("Mesa SWRast"));
    EXPECT_FALSE(WindowDevice::isSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(WindowDevice::isSoftwareRasteriser("opengl"));
    SdlGraphics graphics;
    EXPECT_EQ(graphics.createDevice(0, DeviceType::Hardware, nullptr, 0, PresentParameters{}), nullptr);
    EXPECT_EQ(graphics.createDevice(0, DeviceType::Reference, nullptr, 0, PresentParameters{}), nullptr);
}

TEST(SdlFont, SystemFontMetricsCodePageAndLineBreaking) {
    auto device = headless();
    std::unique_ptr<Font> font(device->createFont(FontDescription{}));
    ASSERT_NE(font, nullptr) << "Liberation Sans (fonts-liberation) is needed";
    auto& f = static_cast<SdlFont&>(*font);
    EXPECT_EQ(f.lineHeight(), 12);
    // Characters of running text are about 6 pixels wide on average, as asked.
    const std::string sentence = "the quick brown fox jumps over the lazy dog";
    EXPECT_NEAR(f.textWidth(sentence) / double(sentence.size()), 6.0, 1.0);

    EXPECT_EQ(SdlFont::toUtf8("Caf\xE9 \x80\x93x\x94"), "Caf\xC3\xA9 \xE2\x82\xAC\xE2\x80\x9Cx\xE2\x80\x9D");
    EXPECT_EQ(SdlFont::toUtf8("a\x81\x01\tb"), "a b");

    const int wordWidth = f.textWidth("word");
    const long width = f.textWidth("word word") + 1;
    EXPECT_EQ(f.breakLines("word word word", width, true), (std::vector<std::string>{"word word", "word"}));
    EXPECT_EQ(f.breakLines("word word word", width, false), (std::vector<std::string>{"word word word"}));
    EXPECT_EQ(f.breakLines("a\r\nb\rc\nd\n", 1000, true), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(f.breakLines("\n\nx", 1000, true), (std::vector<std::string>{"", "", "x"}));
    // A word wider than the line is broken between characters.
    for (const std::string& line : f.breakLines("wordwordwordword", wordWidth, true)) {
        EXPECT_LE(f.textWidth(line), wordWidth) << line;
    }
    // Even a huge word in a box of no width is broken quickly, one character a line.
    EXPECT_EQ(f.breakLines(std::string(200000, 'w'), 0, true).size(), 200000u);
    // Widths add up character by character.
    EXPECT_EQ(f.textWidth("ww"), 2 * f.textWidth("w"));
}

}  // namespace
}  // namespace qa::platform::gfx
