// Where pictures and system-font texts land on the screen, drawn on the headless device.
#include <gtest/gtest.h>

#include <limits>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "scene/TextItem.h"
#include "support/DrawingScene.h"

namespace qa::scene {
namespace {

using test::DrawingScene;
using test::PictureMaker;

// Every pixel tells where it came from: red = x, green = y, blue = 77.
PictureMaker coordinatePicture(int w, int h) {
    PictureMaker p(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            p.set(x, y, 0xFF000000u | std::uint32_t(x) << 16 | std::uint32_t(y) << 8 | 77u);
    }
    return p;
}

ImageItem* rootItem(DrawingScene& scene, const std::string& file) {
    auto* item = scene.scene().make<ImageItem>(file);
    scene.scene().rootItems.push_back(item);
    return item;
}

TEST(VisualDraw, DefaultCentreCountsTwiceAndCentreZeroPlacesTheCornerAtPosition) {
    DrawingScene scene;
    scene.put("p.png", coordinatePicture(100, 50));
    ImageItem* item = rootItem(scene, "p.png");
    item->position = {200, 100, 0};
    scene.frame();
    auto box = scene.litBox();
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.top, 50);
    EXPECT_EQ(box.right, 200);
    EXPECT_EQ(box.bottom, 100);
    EXPECT_EQ(scene.pixel(100, 50), 0xFF00004Du);  // source (0, 0)
    EXPECT_EQ(scene.pixel(199, 99), 0xFF63314Du);  // source (99, 49)
    // The hit box is another one: x 150 to 250.
    EXPECT_EQ(item->hitTest({240, 120, 0}), item);
    EXPECT_EQ(item->hitTest({140, 60, 0}), nullptr);

    item->centre = {0, 0, 0};
    scene.frame();
    box = scene.litBox();
    EXPECT_EQ(box.left, 200);
    EXPECT_EQ(box.top, 100);
    EXPECT_EQ(box.right, 300);
    EXPECT_EQ(box.bottom, 150);

    // Scale 2 doubles the picture away from the position.
    item->scale = {2, 2, 1};
    scene.frame();
    box = scene.litBox();
    EXPECT_EQ(box.left, 200);
    EXPECT_EQ(box.right, 400);
    EXPECT_EQ(box.bottom, 200);
    EXPECT_EQ(scene.pixel(203, 103), 0xFF01014Du);  // source (1, 1)
}

TEST(VisualDraw, NegativeScaleMirrorsAroundThePlacement) {
    DrawingScene scene;
    scene.put("p.png", coordinatePicture(100, 50));
    ImageItem* item = rootItem(scene, "p.png");
    item->position = {500, 300, 0};
    item->centre = {0, 0, 0};
    item->scale = {-1, 1, 1};
    scene.frame();
    auto box = scene.litBox();
    EXPECT_EQ(box.left, 400);
    EXPECT_EQ(box.right, 500);
    EXPECT_EQ(scene.pixel(499, 300), 0xFF00004Du);  // source column 0 next to the position
    EXPECT_EQ(scene.pixel(400, 300), 0xFF63004Du);  // source column 99 at the far end
}

TEST(VisualDraw, ChildOfScaledParentIsPlacedAndScaledByIt) {
    DrawingScene scene;
    scene.put("p.png", coordinatePicture(20, 10));
    ImageItem* parent = rootItem(scene, "");
    parent->position = {100, 100, 0};
    parent->scale = {2, 2, 1};
    auto* child = scene.scene().make<ImageItem>("p.png");
    parent->addChild(child);
    child->position = {10, 0, 0};
    child->centre = {0, 0, 0};
    scene.frame();
    // Drawn with its own position (120, 100) and scale 2.
    auto box = scene.litBox();
    EXPECT_EQ(box.left, 120);
    EXPECT_EQ(box.top, 100);
    EXPECT_EQ(box.right, 160);
    EXPECT_EQ(box.bottom, 120);
    EXPECT_EQ(child->position.x, 10.0f);
    EXPECT_EQ(child->scale.x, 1.0f);
}

TEST(VisualDraw, SourceOffsetScrollsAndWhatLiesOutsideThePictureIsTransparent) {
    DrawingScene scene;
    scene.put("p.png", coordinatePicture(64, 32));
    ImageItem* item = rootItem(scene, "p.png");
    item->centre = {0, 0, 0};
    item->position = {100, 100, 0};
    item->sourceOffset = {32, 0, 0};  // columns 32 to 96 are asked for
    scene.frame();
    auto box = scene.litBox();
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.right, 132);
    EXPECT_EQ(scene.pixel(100, 100), 0xFF20004Du);  // source column 32
    EXPECT_EQ(scene.pixel(131, 131), 0xFF3F1F4Du);  // source column 63, row 31

    // A negative offset leaves a transparent band on the left, at scale 2 twice as wide.
    item->sourceOffset = {-8, -4, 0};
    item->scale = {2, 2, 1};
    scene.frame();
    box = scene.litBox();
    EXPECT_EQ(box.left, 116);
    EXPECT_EQ(box.top, 108);
    EXPECT_EQ(box.right, 228);  // 64 - 8 columns of the picture remain inside the rectangle
    EXPECT_EQ(box.bottom, 164);
    EXPECT_EQ(scene.pixel(116, 108), 0xFF00004Du);
}

TEST(VisualDraw, ColourModulatesAndAlphaBlends) {
    DrawingScene scene;
    PictureMaker white(10, 10, 0xFFFFFFFFu);
    white.fill(5, 0, 5, 10, 0x80FFFFFFu);  // right half half-transparent
    scene.put("w.png", white);
    ImageItem* item = rootItem(scene, "w.png");
    item->centre = {0, 0, 0};
    item->colour = 0xFFFF8000u;
    scene.frame();
    EXPECT_EQ(scene.pixel(0, 0), 0xFFFF8000u);
    auto near = [](int v, int want) { return std::abs(v - want) <= 3; };
    std::uint32_t half = scene.pixel(7, 0);
    EXPECT_TRUE(near(test::redOf(half), 128)) << std::hex << half;
    EXPECT_TRUE(near(test::greenOf(half), 64)) << std::hex << half;

    item->colour = 0x40FFFFFFu;  // a quarter opaque over black
    scene.frame();
    EXPECT_TRUE(near(test::redOf(scene.pixel(0, 0)), 64)) << std::hex << scene.pixel(0, 0);
    EXPECT_TRUE(near(test::blueOf(scene.pixel(7, 0)), 32)) << std::hex << scene.pixel(7, 0);

    item->colour = 0x00FFFFFFu;
    scene.frame();
    EXPECT_EQ(scene.litBox().right, 0);
}

TEST(VisualDraw, ResultsWithoutSpriteOrPictureAndWhenHidden) {
    DrawingScene scene;
    ImageItem* missing = rootItem(scene, "missing.png");
    EXPECT_EQ(missing->picture, nullptr);
    EXPECT_FALSE(missing->draw());
    EXPECT_EQ(scene.scene().drawnItems.size(), 1u);  // it still takes input
    missing->visible = false;
    EXPECT_TRUE(missing->Visual::draw());
    missing->visible = true;
    scene.scene().sprite = nullptr;
    EXPECT_FALSE(missing->Visual::draw());
    scene.scene().sprite = scene.sprite();
}

TEST(VisualDraw, SystemFontTextIsWrappedClippedColouredAndPlacedWithTheCentreOnce) {
    DrawingScene scene;
    scene.disk().write("t.txt", "Hello there, this line is long enough to wrap twice in a small box.");
    ImageItem* item = rootItem(scene, "t.txt");
    EXPECT_EQ(item->size.x, 400.0f);
    item->size = {120, 30, 0};
    item->centre = {10, 5, 0};
    item->position = {300, 200, 0};
    scene.frame();
    auto box = scene.litBox();
    // The text's rectangle starts at position - centre (the centre counts once) and clips it.
    EXPECT_GE(box.left, 290);
    EXPECT_LE(box.left, 293);
    EXPECT_GE(box.top, 195);
    EXPECT_LE(box.right, 410);
    EXPECT_GT(box.right, 380);               // wrapped lines nearly fill the width
    EXPECT_EQ(box.bottom - 195 > 12, true);  // more than one line
    EXPECT_LE(box.bottom, 225);              // but clipped to the height of 30

    item->colour = 0xFF00FF00u;
    scene.frame();
    bool onlyGreen = true, anyGreen = false;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const std::uint32_t p = scene.pixel(x, y);
            onlyGreen = onlyGreen && test::redOf(p) == 0 && test::blueOf(p) == 0;
            anyGreen = anyGreen || test::greenOf(p) > 200;
        }
    }
    EXPECT_TRUE(onlyGreen);
    EXPECT_TRUE(anyGreen);

    // Scaled by 2 about the same placement: the rectangle starts at position - centre x 2.
    item->colour = 0xFFFFFFFFu;
    item->scale = {2, 2, 1};
    scene.frame();
    box = scene.litBox();
    EXPECT_GE(box.left, 280);
    EXPECT_LE(box.left, 286);
    EXPECT_LE(box.right, 280 + 240);
    EXPECT_LE(box.bottom, 190 + 60);
}

}  // namespace
}  // namespace qa::scene

namespace qa::scene {
namespace {

TEST(VisualDraw, ExtremeValuesDrawWithoutFault) {
    DrawingScene scene;
    scene.put("p.png", coordinatePicture(16, 16));
    scene.disk().write("t.txt", "some text");
    scene.disk().write("u.txt", "word word\r\nword-word");
    scene.put("font.png", PictureMaker::fontSheet(16, 16, [](int c) { return c % 16; }));
    ImageItem* picture = rootItem(scene, "p.png");
    ImageItem* text = rootItem(scene, "t.txt");
    auto* glyphs = scene.scene().make<TextItem>("font.png", "u.txt");
    scene.scene().rootItems.push_back(glyphs);
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float v : {inf, -inf, nan, 1e30f, -1e30f, 3e9f, 1e-30f, 0.0f, -0.5f}) {
        for (Visual* item :
             {static_cast<Visual*>(picture), static_cast<Visual*>(text), static_cast<Visual*>(glyphs)}) {
            item->position = {v, 10, 0};
            item->scale = {v, v, 1};
            item->centre = {v, 0, 0};
            item->sourceOffset = {v, v, 0};
            item->sourceSize = {v, 16, 0};
            item->size = {v, v, 0};
        }
        glyphs->laidOut = false;
        glyphs->lines.clear();
        scene.frame();
    }
    SUCCEED();
}

}  // namespace
}  // namespace qa::scene
