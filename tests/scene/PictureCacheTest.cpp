// Picture sharing and release, and glyph-width measurement of font sheets.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "platform/gfx/PixelTexture.h"
#include "scene/ImageItem.h"
#include "scene/PictureCache.h"
#include "scene/SceneState.h"
#include "support/DrawingScene.h"

namespace qa::scene {
namespace {

using test::DrawingScene;
using test::PictureMaker;

TEST(PictureCache, PicturesAreSharedByFileAndLiveUntilTheLastRelease) {
    DrawingScene scene;
    scene.put("a.png", PictureMaker(8, 4, 0xFFFFFFFFu));
    scene.put("b.png", PictureMaker(2, 2, 0xFFFFFFFFu));
    std::filesystem::create_directory(scene.disk().root() / "sub");
    PictureCache& cache = scene.scene().pictures;
    auto* first = scene.scene().make<ImageItem>("a.png");
    auto* second = scene.scene().make<ImageItem>("a.png");
    ASSERT_NE(first->picture, nullptr);
    EXPECT_EQ(first->picture, second->picture);
    EXPECT_EQ(first->picture->fileName, "a.png");
    EXPECT_EQ(first->size.x, 8.0f);
    EXPECT_EQ(first->sourceSize.y, 4.0f);
    EXPECT_EQ(cache.size(), 1u);
    // Every other spelling of the same file shares the one picture; another file does not.
    for (const char* spelling : {"A.png", "./a.png", ".\\a.PNG", "././/a.png", "sub\\..\\a.png"}) {
        auto* other = scene.scene().make<ImageItem>(spelling);
        EXPECT_EQ(other->picture, first->picture) << spelling;
        EXPECT_EQ(other->size.x, 8.0f) << spelling;
    }
    EXPECT_NE(scene.scene().make<ImageItem>("b.png")->picture, first->picture);
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache.decodedBytes(), (8u * 4u + 2u * 2u) * 4u);

    // (Items are normally destroyed at shutdown, through the visual list.) References are given
    // back by the names they were taken under.
    std::erase_if(scene.scene().visuals, [first](const auto& v) { return v.get() == first; });
    EXPECT_TRUE(cache.contains("a.png"));
    EXPECT_EQ(cache.release("a.png"), 5);  // second's reference; the other spellings hold the rest
    EXPECT_FALSE(cache.contains("a.png"));
    EXPECT_EQ(cache.release("a.png"), -1);
    second->picture = nullptr;
    for (const char* spelling : {"A.png", "./a.png", ".\\a.PNG", "././/a.png"}) cache.release(spelling);
    EXPECT_EQ(cache.release("sub\\..\\a.png"), 0);
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.decodedBytes(), 2u * 2u * 4u);
    scene.scene().destroyAllVisuals();

    // A file that does not load leaves no record.
    EXPECT_EQ(cache.acquire("none.png"), nullptr);
    EXPECT_FALSE(cache.contains("none.png"));

    // Release all drops every reference at once; visuals destroyed afterwards do no harm.
    cache.acquire("A.png");
    cache.acquire("A.png");
    cache.releaseAll();
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(cache.decodedBytes(), 0u);
    scene.scene().destroyAllVisuals();
}

TEST(PictureCache, PicturesBeyondTheBudgetAreNotLoaded) {
    DrawingScene scene;
    PictureCache& cache = scene.scene().pictures;
    scene.put("a.png", PictureMaker(16, 16, 0xFFFFFFFFu));  // 1 KiB decoded
    scene.put("b.png", PictureMaker(16, 8, 0xFFFFFFFFu));   // 512 bytes
    cache.setBudget(1536 - 4);
    ASSERT_NE(cache.acquire("a.png"), nullptr);
    EXPECT_EQ(cache.acquire("b.png"), nullptr);
    EXPECT_FALSE(cache.contains("b.png"));
    EXPECT_NE(cache.acquire("./A.png"), nullptr) << "a picture already held costs nothing more";
    cache.release("a.png");
    cache.release("./A.png");
    EXPECT_NE(cache.acquire("b.png"), nullptr) << "what is released is given back to the budget";
    cache.setBudget(1536);
    EXPECT_NE(cache.acquire("a.png"), nullptr);
    EXPECT_EQ(cache.decodedBytes(), 1536u);
    cache.releaseAll();
}

TEST(PictureCache, AReloadTakesBackThePicturesWhoseFilesDidNotChange) {
    DrawingScene scene;
    SceneState& state = scene.scene();
    PictureCache& cache = state.pictures;
    for (const char* name : {"same.png", "redrawn.png", "touched.png", "gone.png", "unused.png"})
        scene.put(name, PictureMaker(8, 4, 0xFFFF0000u));
    // Held here, so that no new texture can take an old one's address.
    std::map<std::string, std::shared_ptr<platform::gfx::Texture>> before;
    for (const char* name : {"same.png", "redrawn.png", "touched.png", "gone.png", "unused.png"}) {
        auto* item = state.make<ImageItem>(name);
        ASSERT_NE(item->picture, nullptr) << name;
        before[name] = item->picture->texture;
    }
    state.make<ImageItem>("same.png");  // a second user
    PictureCache::measureGlyphWidths(cache.acquire("same.png"));
    cache.release("same.png");

    cache.setAsideAll();
    state.destroyAllVisuals();  // the old scene's releases find nothing to release
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(cache.setAsideCount(), 5u);
    // Changes while the scene is rebuilt: new pixels in a new size, the same bytes with a new time,
    // a file removed.
    scene.put("redrawn.png", PictureMaker(9, 4, 0xFF00FF00u));
    const auto touched = scene.disk().root() / "touched.png";
    std::filesystem::last_write_time(touched,
                                     std::filesystem::last_write_time(touched) + std::chrono::seconds(2));
    std::filesystem::remove(scene.disk().root() / "gone.png");

    auto* same = state.make<ImageItem>("same.png");
    auto* redrawn = state.make<ImageItem>("redrawn.png");
    auto* again = state.make<ImageItem>("touched.png");
    auto* gone = state.make<ImageItem>("gone.png");
    ASSERT_NE(same->picture, nullptr);
    EXPECT_EQ(same->picture->texture.get(), before["same.png"].get()) << "decoded again though unchanged";
    EXPECT_NE(same->picture->glyphWidths[0], -1) << "what was measured goes with it";
    ASSERT_NE(redrawn->picture, nullptr);
    EXPECT_NE(redrawn->picture->texture.get(), before["redrawn.png"].get());
    EXPECT_EQ(redrawn->size.x, 9.0f);
    ASSERT_NE(again->picture, nullptr);
    EXPECT_NE(again->picture->texture.get(), before["touched.png"].get());
    EXPECT_EQ(gone->picture, nullptr) << "a removed file must not come back from before";
    // One user each again; what nobody took back (the unused picture, the removed file's) goes.
    EXPECT_EQ(cache.setAsideCount(), 2u);
    cache.dropSetAside();
    EXPECT_EQ(cache.setAsideCount(), 0u);
    EXPECT_FALSE(cache.contains("unused.png"));
    EXPECT_EQ(cache.release("same.png"), 0);
    same->picture = nullptr;
    state.destroyAllVisuals();
}

TEST(PictureCache, GlyphWidthsFromTheAlphaOfEachCell) {
    DrawingScene scene;
    // 256 x 256: cells of 16 x 16. Glyph 'a' reaches cell column 9, 'b' covers columns 0 to 15,
    // 'c' has opaque pixels only in column 15, 'd' one pixel in column 3 of its last row, and row 8
    // (codes 128 and up) is a copy of row 6.
    PictureMaker sheet(256, 256);
    auto cell = [&](int code, int x, int y, int w, int h) {
        sheet.fill(code % 16 * 16 + x, code / 16 * 16 + y, w, h, 0xFF808080u);
    };
    cell('a', 0, 0, 10, 16);
    cell('b', 0, 0, 16, 16);
    cell('c', 15, 0, 1, 16);
    cell('d', 3, 15, 1, 1);
    cell(0xE1, 0, 4, 12, 1);
    sheet.fill(0, 0, 1, 1, 0x7FFFFFFFu);  // any alpha counts in a 32-bit sheet
    scene.put("font.png", sheet);
    Picture* p = scene.scene().pictures.acquire("font.png");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->glyphWidths[0], -1);
    PictureCache::measureGlyphWidths(p);
    EXPECT_EQ(p->glyphWidths[' '], 5);  // blank: 16 / 4 + 1
    EXPECT_EQ(p->glyphWidths['a'], 10);
    EXPECT_EQ(p->glyphWidths['b'], 15);
    EXPECT_EQ(p->glyphWidths['c'], 5);  // the last column is never looked at
    EXPECT_EQ(p->glyphWidths['d'], 5);  // 4, raised to the least width
    EXPECT_EQ(p->glyphWidths[0xE1], 12);
    EXPECT_EQ(p->glyphWidths[0], 5);  // its only pixel is in column 0, which measures 1
    // Measured once: a second call changes nothing.
    p->glyphWidths['a'] = 99;
    PictureCache::measureGlyphWidths(p);
    EXPECT_EQ(p->glyphWidths['a'], 99);
    PictureCache::measureGlyphWidths(nullptr);

    // A picture without alpha is opaque everywhere; a tiny one has cells of width 0.
    scene.put("tiny.png", PictureMaker(8, 8, 0xFFFFFFFFu));
    Picture* tiny = scene.scene().pictures.acquire("tiny.png");
    PictureCache::measureGlyphWidths(tiny);
    EXPECT_EQ(tiny->glyphWidths[65], 1);
}

// A sheet in a 16-bit format, as some loaders deliver: two bytes per pixel, alpha in byte 1. Cells
// are 8 x 8. Glyph 1 has `alpha` in cell column 4, glyph 2 the byte 0x70 there (opaque only for the
// 4-bit alpha mask), glyph 3 a full byte 0 (colour, not alpha).
class SixteenBitSheet : public platform::gfx::Texture {
  public:
    SixteenBitSheet(std::uint32_t format, std::uint8_t alpha) : format_(format), bits_(128 * 128 * 2, 0) {
        bits_[static_cast<std::size_t>(3 * 128 + 8 + 4) * 2 + 1] = alpha;
        bits_[static_cast<std::size_t>(3 * 128 + 16 + 4) * 2 + 1] = 0x70;
        bits_[static_cast<std::size_t>(3 * 128 + 24 + 4) * 2] = 0xFF;
    }
    int width() const override { return 128; }
    int height() const override { return 128; }
    std::uint32_t formatCode() const override { return format_; }
    bool lockRect(platform::gfx::LockedRect& out) const override {
        out.pitch = 128 * 2;
        out.bits = bits_.data();
        return true;
    }

  private:
    std::uint32_t format_;
    std::vector<std::uint8_t> bits_;
};

TEST(PictureCache, SixteenBitSheetsTestTheirAlphaBits) {
    for (auto [format, alpha] :
         {std::pair{std::uint32_t{platform::gfx::kFormatA1R5G5B5}, std::uint8_t{0x80}},
          std::pair{std::uint32_t{platform::gfx::kFormatA4R4G4B4}, std::uint8_t{0x10}}}) {
        Picture p;
        p.texture = std::make_shared<SixteenBitSheet>(format, alpha);
        p.glyphWidths[0] = -1;
        PictureCache::measureGlyphWidths(&p);
        EXPECT_EQ(p.glyphWidths[1], 5) << format;
        EXPECT_EQ(p.glyphWidths[2], format == platform::gfx::kFormatA4R4G4B4 ? 5 : 3)
            << format;  // least width 8 / 4 + 1
        EXPECT_EQ(p.glyphWidths[3], 3) << format;
    }
}

TEST(PictureCache, TextFilesSkipZeroBytes) {
    DrawingScene scene;
    std::string bytes("ab\0cd", 5);
    bytes += std::string(2000, 'x');
    scene.disk().write("t.txt", bytes);
    const std::string text = scene.scene().pictures.readTextFile("t.txt");
    EXPECT_EQ(text.substr(0, 4), "abcd");
    EXPECT_EQ(text.size(), 2004u);
    EXPECT_EQ(scene.scene().pictures.readTextFile("none.txt"), "");
}

}  // namespace
}  // namespace qa::scene
