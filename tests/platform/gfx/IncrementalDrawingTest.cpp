// Frames drawn in part: the damage two frames' copies give, and whole scenes changed at random frame
// after frame, each frame drawn in part checked pixel for pixel against the same frame drawn in full.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/gfx/DrawList.h"
#include "platform/gfx/Sprite.h"
#include "platform/gfx/sdl/SdlTexture.h"
#include "platform/gfx/sdl/SurfaceDevice.h"
#include "support/DrawingScene.h"
#include "support/RandomCopies.h"
#include "support/RandomScene.h"

namespace qa::platform::gfx {
namespace {

using Box = DrawList::Box;

DrawList::Copy copyAt(std::uint64_t picture, int x, int y, int w = 10, int h = 10) {
    DrawList::Copy c;
    c.picture = picture;
    c.piece.srcW = w;
    c.piece.srcH = h;
    c.piece.dstX = x;
    c.piece.dstY = y;
    c.piece.dstW = w;
    c.piece.dstH = h;
    c.colour = 0xFFFFFFFFu;
    c.blend = true;
    return c;
}

bool sameBox(const Box& a, const Box& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(DrawList, DamageCoversWhatMovedAppearedOrWentAndNothingElse) {
    DrawList a, b;
    for (int i = 0; i < 5; ++i) a.add(copyAt(i + 1, i * 100, 0));
    b = a;
    std::vector<Box> out;
    DrawList::damage(a, b, 1024, 768, out);
    EXPECT_TRUE(out.empty());

    // One copy moved: its old and new places (overlapping here, so one box).
    b.copies()[2].piece.dstX += 5;
    DrawList::damage(a, b, 1024, 768, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(sameBox(out[0], {200, 0, 215, 10}));

    // A colour change alone damages the copy's place; a copy gone from the middle damages only its
    // place even though everything after it shifted in the list.
    out.clear();
    b = a;
    b.copies()[4].colour = 0x80FFFFFFu;
    b.copies().erase(b.copies().begin() + 1);
    DrawList::damage(a, b, 1024, 768, out);
    ASSERT_EQ(out.size(), 2u);
    std::sort(out.begin(), out.end(), [](const Box& x, const Box& y) { return x.left < y.left; });
    EXPECT_TRUE(sameBox(out[0], {100, 0, 110, 10}));
    EXPECT_TRUE(sameBox(out[1], {400, 0, 410, 10}));

    // Two copies swapped in drawing order: one of them counts as gone and come back, and its place
    // is drawn again (over the other where they overlap).
    out.clear();
    b = a;
    std::swap(b.copies()[0], b.copies()[1]);
    DrawList::damage(a, b, 1024, 768, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(sameBox(out[0], {0, 0, 10, 10}));

    // Clipped to the view; a copy entirely outside it damages nothing.
    out.clear();
    b = a;
    b.add(copyAt(9, -50, 760, 100, 100));
    b.add(copyAt(10, 2000, 0));
    DrawList::damage(a, b, 1024, 768, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(sameBox(out[0], {0, 760, 50, 768}));
}

TEST(DrawList, BoxesMergeWhenTheyOverlapAndCollapseWhenTooMany) {
    std::vector<Box> boxes;
    DrawList::addBox(boxes, {0, 0, 10, 10});
    DrawList::addBox(boxes, {20, 0, 30, 10});
    DrawList::addBox(boxes, {5, 5, 25, 8});  // joins both
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(sameBox(boxes[0], {0, 0, 30, 10}));
    DrawList::addBox(boxes, {5, 5, 5, 20});  // empty: ignored
    EXPECT_EQ(boxes.size(), 1u);
    boxes.clear();
    for (int i = 0; i <= static_cast<int>(DrawList::kMaxBoxes); ++i)
        DrawList::addBox(boxes, {i * 20, 0, i * 20 + 10, 10});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].right, static_cast<int>(DrawList::kMaxBoxes) * 20 + 10);
}

// A picture of random pixels: opaque, transparent and half-transparent texels.
std::shared_ptr<SdlTexture> randomPicture(SurfaceDevice& device, std::mt19937& rng, int w, int h) {
    std::vector<std::uint32_t> argb(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    const std::uint32_t alphas[] = {0x00000000u, 0xFF000000u, 0x80000000u, 0x30000000u};
    for (std::uint32_t& p : argb) p = alphas[rng() % 4] | (rng() & 0xFFFFFFu);
    return std::make_shared<SdlTexture>(&device, w, h, kFormatA8R8G8B8, std::move(argb));
}

TEST(IncrementalDrawing, RandomCopiesDrawnInPartMatchTheFullFrame) {
    auto device = SurfaceDevice::create(320, 240);
    ASSERT_NE(device, nullptr);
    device->setVerifyDrawing(true);
    std::unique_ptr<Sprite> sprite = device->createSprite();
    std::mt19937 rng(7);
    std::vector<std::shared_ptr<Texture>> pictures;
    for (int i = 0; i < 6; ++i) pictures.push_back(randomPicture(*device, rng, 8 + i * 9, 6 + i * 7));
    test::RandomCopies copies(rng, 30, static_cast<int>(pictures.size()), 320, 240);
    int partial = 0;
    for (int frame = 0; frame < 300; ++frame) {
        copies.change(rng);
        if (frame == 150) pictures[0] = randomPicture(*device, rng, 20, 20);  // a picture replaced
        device->clear(kClearTarget, frame < 200 ? 0xFF102030u : 0xFF000000u, 1, 0);
        device->beginScene();
        sprite->begin(kSpriteAlphaBlend);
        copies.draw(*sprite, pictures, true);
        sprite->end();
        device->endScene();
        device->present();
        if (device->lastFramePartial()) ++partial;
    }
    EXPECT_EQ(device->drawMismatches(), 0);
    EXPECT_GT(partial, 150);
}

TEST(IncrementalDrawing, AFrameWithNothingChangedDrawsNothingAndAFreedPictureStillDraws) {
    auto device = SurfaceDevice::create(64, 64);
    ASSERT_NE(device, nullptr);
    device->setVerifyDrawing(true);
    std::unique_ptr<Sprite> sprite = device->createSprite();
    std::mt19937 rng(3);
    auto picture = randomPicture(*device, rng, 16, 16);
    auto frame = [&](bool freeBeforeTheEnd) {
        device->clear(kClearTarget, 0xFF000000u, 1, 0);
        sprite->begin(kSpriteAlphaBlend);
        sprite->draw(picture.get(), nullptr, nullptr, nullptr, 0xFFFFFFFFu);
        sprite->end();
        if (freeBeforeTheEnd) picture = randomPicture(*device, rng, 16, 16);
        device->endScene();
    };
    frame(false);
    EXPECT_FALSE(device->lastFramePartial());  // the first frame is drawn whole
    frame(false);
    EXPECT_TRUE(device->lastFramePartial());
    EXPECT_TRUE(device->lastDamage().empty());
    std::vector<std::uint32_t> before, after;
    int w = 0, h = 0;
    ASSERT_TRUE(device->readBackBuffer(before, w, h));
    // The picture is freed after its copy was recorded: the frame still shows it.
    frame(true);
    ASSERT_TRUE(device->readBackBuffer(after, w, h));
    EXPECT_EQ(before, after);
    // Another picture at the same place: drawn again there.
    frame(false);
    EXPECT_EQ(device->lastDamage().size(), 1u);
    EXPECT_EQ(device->drawMismatches(), 0);
}

// Scenes of picture and text items changed at random, as scripts change them (moves, fades,
// scrolls, raises, hides, scale changes, text), drawn frame after frame.
TEST(IncrementalDrawing, RandomlyChangedScenesDrawnInPartMatchTheFullFrame) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        test::DrawingScene drawing;
        auto* device = dynamic_cast<SurfaceDevice*>(&drawing.device());
        ASSERT_NE(device, nullptr);
        device->setVerifyDrawing(true);
        test::RandomScene scene(drawing, seed);
        int partial = 0;
        for (int frame = 0; frame < 120; ++frame) {
            scene.change(frame);
            drawing.frame();
            long area = 0;
            for (const Box& b : device->lastDamage()) area += long{b.right - b.left} * (b.bottom - b.top);
            if (device->lastFramePartial() && area < 1024 * 768 / 2) ++partial;
        }
        EXPECT_EQ(device->drawMismatches(), 0) << "seed " << seed;
        EXPECT_GT(partial, 100) << "seed " << seed;
    }
}

}  // namespace
}  // namespace qa::platform::gfx
