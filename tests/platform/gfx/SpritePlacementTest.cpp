// The sprite rule in whole pixels: clipping, mirroring, fractions and extreme transforms.
#include <gtest/gtest.h>

#include <limits>

#include "platform/gfx/SpritePlacement.h"

namespace qa::platform::gfx {
namespace {

Matrix scaleThenTranslate(float sx, float sy, float tx, float ty) {
    Vec3 s{sx, sy, 1}, t{tx, ty, 0};
    return Matrix::transformation(&s, &t);
}

std::vector<SpritePiece> place(const Rect* src, Vec3 centre, Vec3 position, const Matrix& m) {
    return SpritePlacement::place(100, 50, src, &centre, &position, m, 1024, 768);
}

TEST(SpritePlacement, SourcePointLandsByTheRule) {
    // q lands at ((q - centre + position) x scale) + translation.
    auto pieces = place(nullptr, {50, 25, 0}, {10, 0, 0}, scaleThenTranslate(2, 3, 100, 200));
    ASSERT_EQ(pieces.size(), 1u);
    const SpritePiece& p = pieces[0];
    EXPECT_EQ(p.dstX, (0 - 50 + 10) * 2 + 100);
    EXPECT_EQ(p.dstY, (0 - 25) * 3 + 200);
    EXPECT_EQ(p.dstW, 200);
    EXPECT_EQ(p.dstH, 150);
    EXPECT_EQ(p.srcW, 100);
    EXPECT_FALSE(p.flipX || p.flipY);
}

TEST(SpritePlacement, SourceOutsideThePictureShrinksTheDestinationInProportion) {
    const Rect src{-10, 40, 150, 60};  // 10 columns left of the picture, 50 right, 10 rows below
    auto pieces = place(&src, {0, 0, 0}, {0, 0, 0}, scaleThenTranslate(2, 2, 100, 100));
    ASSERT_EQ(pieces.size(), 1u);
    const SpritePiece& p = pieces[0];
    EXPECT_EQ(p.srcX, 0);
    EXPECT_EQ(p.srcW, 100);
    EXPECT_EQ(p.srcY, 40);
    EXPECT_EQ(p.srcH, 10);
    EXPECT_EQ(p.dstX, 100 + 20);  // where source column 0 would land within the asked rectangle
    EXPECT_EQ(p.dstW, 200);
    EXPECT_EQ(p.dstY, 100);
    EXPECT_EQ(p.dstH, 20);
    const Rect outside{100, 0, 120, 50};
    EXPECT_TRUE(place(&outside, {}, {}, Matrix{}).empty());
    const Rect inverted{50, 0, 40, 50};
    EXPECT_TRUE(place(&inverted, {}, {}, Matrix{}).empty());
}

TEST(SpritePlacement, NegativeScalesMirrorAndZeroScalesDrawNothing) {
    auto pieces = place(nullptr, {0, 0, 0}, {0, 0, 0}, scaleThenTranslate(-1, -2, 500, 400));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_TRUE(pieces[0].flipX);
    EXPECT_TRUE(pieces[0].flipY);
    EXPECT_EQ(pieces[0].dstX, 400);
    EXPECT_EQ(pieces[0].dstW, 100);
    EXPECT_EQ(pieces[0].dstY, 300);
    EXPECT_EQ(pieces[0].dstH, 100);
    EXPECT_TRUE(place(nullptr, {}, {}, scaleThenTranslate(0, 1, 0, 0)).empty());
}

TEST(SpritePlacement, FractionalEdgesCoverPixelsWhoseCentresLieInside) {
    // Two neighbours sharing an edge at 10.6 neither overlap nor leave a gap.
    const Rect left{0, 0, 7, 1}, right{7, 0, 14, 1};
    auto a = place(&left, {}, {}, scaleThenTranslate(1.5f, 1, 0.1f, 0));
    auto b = place(&right, {}, {7, 0, 0}, scaleThenTranslate(1.5f, 1, 0.1f, 0));
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(a[0].dstX, 0);
    EXPECT_EQ(a[0].dstX + a[0].dstW, b[0].dstX);
    EXPECT_EQ(b[0].dstX, 11);  // 10.6: the pixel centre 10.5 lies left of it
    EXPECT_EQ(b[0].dstX + b[0].dstW, 21);
}

TEST(SpritePlacement, ExtremeTransformsStayInsideTheView) {
    // Far outside: nothing.
    EXPECT_TRUE(place(nullptr, {}, {}, scaleThenTranslate(1, 1, 5000, 0)).empty());
    EXPECT_TRUE(place(nullptr, {}, {}, scaleThenTranslate(1, 1, -1e30f, 0)).empty());
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(place(nullptr, {}, {}, scaleThenTranslate(inf, 1, 0, 0)).empty());
    EXPECT_TRUE(place(nullptr, {std::numeric_limits<float>::quiet_NaN(), 0, 0}, {}, Matrix{}).empty());
    // A huge scale keeps only the few texels that reach the view, each cut to it.
    auto pieces = place(nullptr, {50, 25, 0}, {}, scaleThenTranslate(1e7f, 1e7f, 512, 384));
    ASSERT_FALSE(pieces.empty());
    EXPECT_LE(pieces.size(), 9u);
    for (const SpritePiece& p : pieces) {
        EXPECT_GE(p.dstX, -SpritePlacement::kMargin);
        EXPECT_LE(p.dstX + p.dstW, 1024 + SpritePlacement::kMargin);
        EXPECT_EQ(p.srcW, 1);
    }
    // The texel that holds the screen centre is source (50, 25).
    bool centreFound = false;
    for (const SpritePiece& p : pieces) {
        if (p.dstX <= 512 && 512 < p.dstX + p.dstW && p.dstY <= 384 && 384 < p.dstY + p.dstH) {
            centreFound = p.srcX == 50 && p.srcY == 25;
        }
    }
    EXPECT_TRUE(centreFound);
    // A large scale keeps one piece with the visible texels only.
    pieces = place(nullptr, {}, {}, scaleThenTranslate(1000, 1, -30500, 0));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].srcX, 30);
    EXPECT_EQ(pieces[0].srcW, 2);  // texels 30 and 31 span -500 to 1500
}

}  // namespace
}  // namespace qa::platform::gfx
