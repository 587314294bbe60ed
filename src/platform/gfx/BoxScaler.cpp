// Nearest-neighbour stretching of a part of a picture.
#include "platform/gfx/BoxScaler.h"

#include <algorithm>

namespace qa::platform::gfx {

namespace {

// The first output index from `from` whose source index is at least `at`, for `count` outputs.
int firstAtLeast(int at, std::uint32_t inc, int count) {
    int lo = 0, hi = count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        const std::uint64_t s = (inc / 2 + static_cast<std::uint64_t>(mid) * inc) >> 16;
        if (s < static_cast<std::uint64_t>(at)) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo;
}

}  // namespace

BoxScaler::Box BoxScaler::copy(const Pixels& source, const Box& box, const Pixels& output, const Box& area) {
    const int aw = area.right - area.left, ah = area.bottom - area.top;
    if (aw <= 0 || ah <= 0 || source.width <= 0 || source.height <= 0) return {};
    const std::uint32_t incX =
        (static_cast<std::uint32_t>(source.width) << 16) / static_cast<std::uint32_t>(aw);
    const std::uint32_t incY =
        (static_cast<std::uint32_t>(source.height) << 16) / static_cast<std::uint32_t>(ah);
    const int x0 = firstAtLeast(box.left, incX, aw), x1 = firstAtLeast(box.right, incX, aw);
    const int y0 = firstAtLeast(box.top, incY, ah), y1 = firstAtLeast(box.bottom, incY, ah);
    // Only what lies inside the output.
    const int cx0 = std::max(x0, -area.left), cx1 = std::min(x1, output.width - area.left);
    const int cy0 = std::max(y0, -area.top), cy1 = std::min(y1, output.height - area.top);
    if (cx0 >= cx1 || cy0 >= cy1) return {};
    for (int j = cy0; j < cy1; ++j) {
        const std::uint32_t sy =
            static_cast<std::uint32_t>((incY / 2 + static_cast<std::uint64_t>(j) * incY) >> 16);
        const std::uint32_t* row =
            source.pixels + static_cast<std::size_t>(sy) * static_cast<std::size_t>(source.pitch);
        std::uint32_t* out = output.pixels +
                             static_cast<std::size_t>(area.top + j) * static_cast<std::size_t>(output.pitch) +
                             area.left;
        std::uint64_t pos = incX / 2 + static_cast<std::uint64_t>(cx0) * incX;
        for (int i = cx0; i < cx1; ++i, pos += incX) out[i] = row[pos >> 16];
    }
    return {area.left + cx0, area.top + cy0, area.left + cx1, area.top + cy1};
}

}  // namespace qa::platform::gfx
