// Damaged pictures: files cut short, pictures of no pixels, pictures that declare a huge size, GIF
// data that sends the decoder out of its table, and a glyph sheet too small to hold cells. Each
// loads nothing (the item keeps no picture and draws nothing) or loads what is whole; none crashes.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "scene/TextItem.h"
#include "support/DrawingScene.h"
#include "support/TestFiles.h"

namespace qa::scene {
namespace {

using test::bytesOf;

using test::DrawingScene;
using test::PictureMaker;

std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c ^= b;
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

std::string be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

// A PNG chunk with its length and checksum.
std::string chunk(const std::string& type, const std::string& data) {
    return be32(static_cast<std::uint32_t>(data.size())) + type + data + be32(crc32(type + data));
}

// A PNG whose header declares w x h, with the compressed data of a 1 x 1 picture.
std::string pngDeclaring(std::uint32_t w, std::uint32_t h) {
    const std::string ihdr = be32(w) + be32(h) + std::string("\x08\x06\x00\x00\x00", 5);
    const std::string idat("\x78\x9C\x63\x60\x00\x02\x00\x00\x05\x00\x01", 11);  // five zero bytes, deflated
    return "\x89PNG\r\n\x1A\n" + chunk("IHDR", ihdr) + chunk("IDAT", idat) + chunk("IEND", "");
}

// Acquires and releases a picture; whether it loaded, and its size when it did.
struct Loaded {
    bool ok = false;
    std::uint32_t width = 0, height = 0;
};
Loaded load(DrawingScene& scene, const std::string& name) {
    PictureCache& cache = scene.scene().pictures;
    Picture* p = cache.acquire(name);
    Loaded result;
    if (p) {
        result = {true, p->info.width, p->info.height};
        cache.release(name);
    }
    return result;
}

TEST(BadPicture, FilesCutShortLoadNothing) {
    DrawingScene scene;
    const PictureMaker picture(40, 30, 0xFF336699u);
    ASSERT_TRUE(picture.savePng("whole.png"));
    ASSERT_TRUE(picture.saveGif("whole.gif"));
    ASSERT_TRUE(picture.saveBmp("whole.bmp"));
    ASSERT_TRUE(picture.saveTga("whole.tga"));
    ASSERT_TRUE(picture.saveJpg("whole.jpg"));
    for (const char* kind : {"png", "gif", "bmp", "tga", "jpg"}) {
        const std::string whole = bytesOf(std::string("whole.") + kind);
        ASSERT_GT(whole.size(), 40u) << kind;
        const Loaded full = load(scene, std::string("whole.") + kind);
        EXPECT_TRUE(full.ok) << kind;
        // Cut inside the header, inside the data, and just before the end (for GIF, inside its
        // last data block, the end marker alone not being needed).
        for (std::size_t keep : {std::size_t{5}, std::size_t{20}, whole.size() / 2, whole.size() - 2}) {
            const std::string name = "cut" + std::to_string(keep) + "." + kind;
            scene.disk().write(name, whole.substr(0, keep));
            const Loaded cut = load(scene, name);
            const bool partial = std::string(kind) == "jpg" || std::string(kind) == "tga";
            if (partial && keep >= 20) {
                // The JPEG and TGA decoders keep what arrived, at the declared size (the rest grey
                // or transparent).
                if (cut.ok) {
                    EXPECT_EQ(cut.width, 40u) << name;
                }
            } else {
                EXPECT_FALSE(cut.ok) << name;
            }
        }
    }
    // An item on a cut picture has no picture and no size, and a frame with it draws nothing.
    auto* item = scene.scene().make<ImageItem>("cut20.png");
    scene.scene().rootItems.push_back(item);
    EXPECT_EQ(item->picture, nullptr);
    EXPECT_EQ(item->size.x, 0.0f);
    scene.frame();
    EXPECT_EQ(scene.litBox().right, 0);
}

TEST(BadPicture, PicturesOfNoPixelsOrTooManyLoadNothing) {
    DrawingScene scene;
    scene.disk().write("zero.png", pngDeclaring(0, 0));
    scene.disk().write("wide.png", pngDeclaring(100000, 1));
    scene.disk().write("huge.png", pngDeclaring(16384, 16384));  // each side allowed, the area not
    scene.disk().write("fine.png", pngDeclaring(1, 1));
    // BMP: 14-byte file header, 40-byte info header of 0 x 0 at 24 bits, no pixels.
    std::string bmp = std::string("BM") + std::string(12, '\0');
    bmp[10] = 54;
    std::string info(40, '\0');
    info[0] = 40, info[12] = 1, info[14] = 24;
    scene.disk().write("zero.bmp", bmp + info);
    // GIF: a 0 x 0 screen and image.
    scene.disk().write("zero.gif",
                       std::string("GIF89a\0\0\0\0\0\0\0,\0\0\0\0\0\0\0\0\0\x02\x02\x44\x01\0;", 29));
    // TGA: an uncompressed true-colour header of 0 x 0.
    std::string tga(18, '\0');
    tga[2] = 2, tga[16] = 32;
    scene.disk().write("zero.tga", tga);
    for (const char* name : {"zero.png", "wide.png", "huge.png", "zero.bmp", "zero.gif", "zero.tga"})
        EXPECT_FALSE(load(scene, name).ok) << name;
    EXPECT_TRUE(load(scene, "fine.png").ok);

    // The item keeps the size it was given; with no picture it draws nothing.
    auto* item = scene.scene().make<ImageItem>("zero.png");
    item->size = {50, 50, 0};
    scene.scene().rootItems.push_back(item);
    EXPECT_EQ(item->picture, nullptr);
    scene.frame();
    EXPECT_EQ(scene.litBox().right, 0);
}

TEST(BadPicture, GifCodesOutsideTheTableAreRefused) {
    DrawingScene scene;
    // A 6 x 6 picture whose code stream names entries that do not exist yet; the decoder would
    // follow them in a circle and write past its stack.
    const std::string bad(
        "GIF89a\x06\0\x06\0\x81\0\0\x01\x01\x01\0\0\0\0\0\0\0\0\0!\xF9\x04\x01\0\0\0\0,\0\0\0\0"
        "\x06\0\x06\0\0\x08\x0C\x04\x01\x08\x1C\x48\xB0\xA0\xC1\x83\x08\x03\x02\0;",
        58);
    scene.disk().write("bad.gif", bad);
    EXPECT_FALSE(load(scene, "bad.gif").ok);
    // The same picture written properly loads.
    PictureMaker good(6, 6, 0xFF010101u);
    ASSERT_TRUE(good.saveGif("good.gif"));
    EXPECT_TRUE(load(scene, "good.gif").ok);
}

TEST(BadPicture, PngChunkRunningPastTheEndDoesNotHang) {
    DrawingScene scene;
    // A chunk that claims more bytes than the file holds: the PNG reader does not see the end and
    // would read its last bytes again and again.
    std::string png = pngDeclaring(7, 5);
    const std::string iend = chunk("IEND", "");
    png = png.substr(0, png.size() - iend.size()) + be32(0x8FF) + "tRNS" + std::string(8, '\xFF');
    scene.disk().write("endless.png", png);
    EXPECT_FALSE(load(scene, "endless.png").ok);
}

TEST(BadPicture, GlyphSheetTooSmallForCellsMeasuresAndDrawsWithoutCrashing) {
    DrawingScene scene;
    // 15 x 15: cells of 0 x 0 pixels. Every glyph measures 0 / 4 + 1 = 1.
    scene.put("tiny.png", PictureMaker(15, 15, 0xFFFFFFFFu));
    scene.disk().write("text.txt", "Some text - with a hyphen\r\nand two lines");
    auto* text = scene.scene().make<TextItem>("tiny.png", "text.txt");
    scene.scene().rootItems.push_back(text);
    ASSERT_NE(text->picture, nullptr);
    for (int g = 0; g < 256; ++g) EXPECT_EQ(text->picture->glyphWidths[static_cast<std::size_t>(g)], 1) << g;
    text->size = {30, 30, 0};
    text->position = {100, 100, 0};
    text->sourceOffset = {3, 2, 0};
    scene.frame();
    EXPECT_FALSE(text->lines.empty());
    // A text item whose font did not load draws nothing and says so.
    auto* fontless = scene.scene().make<TextItem>("missing.png", "text.txt");
    scene.scene().rootItems.push_back(fontless);
    EXPECT_EQ(fontless->picture, nullptr);
    EXPECT_FALSE(fontless->draw());
    scene.frame();
}

}  // namespace
}  // namespace qa::scene
