// Filtered scaling onto the window: a changed part scaled again gives what scaling the whole picture
// gives, strokes of one pixel come out equally strong wherever they lie (the nearest pixel doubles
// some of them), and whole multiples of the size stay blocks of one pixel.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "platform/gfx/FilteredScaler.h"

namespace qa::platform::gfx {
namespace {

using Box = FilteredScaler::Box;

struct Image {
    int w, h;
    std::vector<std::uint32_t> px;
    Image(int w_, int h_) : w(w_), h(h_), px(static_cast<std::size_t>(w_) * h_, 0) {}
    FilteredScaler::Pixels pixels() { return {px.data(), w, w, h}; }
    std::uint32_t& at(int x, int y) { return px[static_cast<std::size_t>(y) * w + x]; }
};

TEST(FilteredScaler, APartScaledMatchesTheWholeScaled) {
    std::mt19937 rng(5);
    struct Case {
        int sw, sh, ow, oh;
        Box area;
    };
    const Case cases[] = {
        {1024, 768, 1280, 1024, {0, 32, 1280, 992}},    // 5:4 display, x 1.25
        {1024, 768, 1920, 1080, {240, 0, 1680, 1080}},  // x 1.40625, bars left and right
        {1024, 768, 800, 600, {0, 0, 800, 600}},        // smaller
        {97, 61, 333, 200, {-5, 7, 301, 210}},          // odd sizes, reaching past the output
    };
    for (ScaleMode mode : {ScaleMode::Sharp, ScaleMode::Smooth}) {
        for (const Case& c : cases) {
            Image picture(c.sw, c.sh);
            for (auto& p : picture.px) p = rng() & 0xFFFFFFu;
            FilteredScaler partly, wholly;
            Image shown(c.ow, c.oh);
            partly.copy(mode, picture.pixels(), {0, 0, c.sw, c.sh}, shown.pixels(), c.area);
            for (int round = 0; round < 8; ++round) {
                const int l = static_cast<int>(rng() % c.sw), t = static_cast<int>(rng() % c.sh);
                const Box box{l, t, std::min(c.sw, l + 1 + static_cast<int>(rng() % 40)),
                              std::min(c.sh, t + 1 + static_cast<int>(rng() % 40))};
                for (int y = box.top; y < box.bottom; ++y)
                    for (int x = box.left; x < box.right; ++x) picture.at(x, y) = rng() & 0xFFFFFFu;
                const Box out = partly.copy(mode, picture.pixels(), box, shown.pixels(), c.area);
                // Something is written, unless the box maps to where the area leaves the output.
                if (c.area.left >= 0) {
                    EXPECT_TRUE(out.left < out.right && out.top < out.bottom);
                }
                Image whole(c.ow, c.oh);
                wholly.copy(mode, picture.pixels(), {0, 0, c.sw, c.sh}, whole.pixels(), c.area);
                ASSERT_EQ(shown.px, whole.px) << c.sw << "x" << c.sh << " -> " << c.ow << "x" << c.oh
                                              << " mode " << static_cast<int>(mode) << " round " << round;
            }
        }
    }
}

// The strength of a white stroke one pixel wide on black, summed across the output columns, for
// every column it can lie in.
std::vector<int> strokeStrengths(ScaleMode mode, int size, int span) {
    const std::vector<FilteredScaler::Tap> taps = FilteredScaler::taps(mode, size, span);
    std::vector<int> strength(static_cast<std::size_t>(size), 0);
    for (const FilteredScaler::Tap& t : taps) {
        strength[static_cast<std::size_t>(t.first)] += 256 - t.next;
        if (t.next) strength[static_cast<std::size_t>(t.first + 1)] += t.next;
    }
    return strength;
}

TEST(FilteredScaler, StrokesComeOutEvenInTheSharpMode) {
    for (const auto& [size, span] : {std::pair{1024, 1280}, {1024, 1440}, {768, 1080}, {768, 960}}) {
        const std::vector<int> sharp = strokeStrengths(ScaleMode::Sharp, size, span);
        const std::vector<int> nearest = strokeStrengths(ScaleMode::Pixel, size, span);
        const int expected = 256 * span / size;
        int nearestLow = 1 << 30, nearestHigh = 0;
        for (int k = 0; k < size; ++k) {
            EXPECT_NEAR(sharp[static_cast<std::size_t>(k)], expected, 2)
                << size << " -> " << span << " at " << k;
            nearestLow = std::min(nearestLow, nearest[static_cast<std::size_t>(k)]);
            nearestHigh = std::max(nearestHigh, nearest[static_cast<std::size_t>(k)]);
        }
        // The nearest pixel shows some strokes one pixel wide and others two.
        EXPECT_EQ(nearestLow, 256);
        EXPECT_EQ(nearestHigh, 512);
    }
}

TEST(FilteredScaler, FiltersOnlyWhereTheSizeIsNoWholeMultiple) {
    EXPECT_TRUE(FilteredScaler::filters(ScaleMode::Sharp, 1024, 768, 1280, 960));
    EXPECT_TRUE(FilteredScaler::filters(ScaleMode::Smooth, 1024, 768, 1440, 1080));
    EXPECT_TRUE(FilteredScaler::filters(ScaleMode::Sharp, 1024, 768, 800, 600));
    EXPECT_FALSE(FilteredScaler::filters(ScaleMode::Pixel, 1024, 768, 1280, 960));
    EXPECT_FALSE(FilteredScaler::filters(ScaleMode::Sharp, 1024, 768, 1024, 768));
    EXPECT_FALSE(FilteredScaler::filters(ScaleMode::Smooth, 1024, 768, 2048, 1536));

    // A whole multiple in the sharp mode, should it be asked: blocks of one pixel, no mixing.
    for (const FilteredScaler::Tap& t : FilteredScaler::taps(ScaleMode::Sharp, 1024, 2048))
        EXPECT_EQ(t.next, 0);
    // Colours mix per channel, and a flat area stays flat.
    Image picture(2, 1);
    picture.at(0, 0) = 0xFF0000u;
    picture.at(1, 0) = 0x0000FFu;
    Image out(3, 1);
    FilteredScaler scaler;
    scaler.copy(ScaleMode::Sharp, picture.pixels(), {0, 0, 2, 1}, out.pixels(), {0, 0, 3, 1});
    EXPECT_EQ(out.at(0, 0), 0xFF0000u);
    EXPECT_EQ(out.at(1, 0), 0x800080u);
    EXPECT_EQ(out.at(2, 0), 0x0000FFu);
}

}  // namespace
}  // namespace qa::platform::gfx
