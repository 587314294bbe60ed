// The centred picture area with bars, and the cursor through it.
#include <gtest/gtest.h>

#include "platform/window/PictureArea.h"

namespace qa::platform::window {
namespace {

void expectRect(const Rect& r, int l, int t, int rr, int b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rr);
    EXPECT_EQ(r.bottom, b);
}

TEST(PictureArea, LargestCentredAreaOfThePicturesShape) {
    expectRect(PictureArea::fit(1024, 768), 0, 0, 1024, 768);
    expectRect(PictureArea::fit(1600, 1200), 0, 0, 1600, 1200);
    expectRect(PictureArea::fit(1920, 1080), 240, 0, 1680, 1080);  // bars left and right
    expectRect(PictureArea::fit(1280, 1024), 0, 32, 1280, 992);    // bars above and below
    expectRect(PictureArea::fit(1366, 768), 171, 0, 1195, 768);
    expectRect(PictureArea::fit(0, 768), 0, 0, 0, 0);
}

TEST(PictureArea, PointsMapThroughTheArea) {
    const Rect wide = PictureArea::fit(1920, 1080);
    auto at = [&](int x, int y) {
        Point p = PictureArea::toPicture({x, y}, wide);
        return std::make_pair(p.x, p.y);
    };
    EXPECT_EQ(at(240, 0), std::make_pair(0, 0));
    EXPECT_EQ(at(1679, 1079), std::make_pair(1023, 767));
    EXPECT_EQ(at(960, 540), std::make_pair(512, 384));
    EXPECT_EQ(at(239, 0), std::make_pair(-1, 0));  // in the bar: outside the picture
    EXPECT_EQ(at(0, 0).first, -171);
    // A smaller display: every pixel maps, some picture pixels are skipped.
    const Rect small = PictureArea::fit(800, 600);
    EXPECT_EQ(PictureArea::toPicture({799, 599}, small).x, 1022);
    EXPECT_EQ(PictureArea::toPicture({400, 300}, small).y, 384);
    EXPECT_EQ(PictureArea::toPicture({5, 5}, Rect{}).x, 0);
}

}  // namespace
}  // namespace qa::platform::window
