// The centred picture area and the mapping through it.
#include "platform/window/PictureArea.h"

#include <cstdint>

namespace qa::platform::window {

namespace {

// Division rounding towards minus infinity.
std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

Rect PictureArea::fit(int w, int h) {
    if (w <= 0 || h <= 0) return {};
    const std::int64_t wide = static_cast<std::int64_t>(w) * kPictureHeight;
    const std::int64_t high = static_cast<std::int64_t>(h) * kPictureWidth;
    if (wide == high) return {0, 0, w, h};
    if (wide < high) {
        // Narrower than the picture: full width, bars above and below.
        const int ah = static_cast<int>(static_cast<std::int64_t>(w) * kPictureHeight / kPictureWidth);
        const int top = (h - ah) / 2;
        return {0, top, w, top + ah};
    }
    // Wider: full height, bars left and right.
    const int aw = static_cast<int>(static_cast<std::int64_t>(h) * kPictureWidth / kPictureHeight);
    const int left = (w - aw) / 2;
    return {left, 0, left + aw, h};
}

Point PictureArea::toPicture(Point p, const Rect& area) {
    if (area.width() <= 0 || area.height() <= 0) return {};
    const std::int64_t x =
        floorDiv((static_cast<std::int64_t>(p.x) - area.left) * kPictureWidth, area.width());
    const std::int64_t y =
        floorDiv((static_cast<std::int64_t>(p.y) - area.top) * kPictureHeight, area.height());
    return {static_cast<int>(x), static_cast<int>(y)};
}

}  // namespace qa::platform::window
