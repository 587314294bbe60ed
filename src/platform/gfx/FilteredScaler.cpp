// Filtered scaling of a picture onto an area, in whole or in part.
#include "platform/gfx/FilteredScaler.h"

#include <algorithm>

namespace qa::platform::gfx {

namespace {

// a x (256 - w) + b x w, per channel, for 0x00RRGGBB pixels (the top byte comes out 0).
inline std::uint32_t mix(std::uint32_t a, std::uint32_t b, std::uint32_t w) {
    const std::uint32_t v = 256 - w;
    const std::uint32_t rb = (((a & 0xFF00FFu) * v + (b & 0xFF00FFu) * w + 0x800080u) >> 8) & 0xFF00FFu;
    const std::uint32_t g = (((a & 0x00FF00u) * v + (b & 0x00FF00u) * w + 0x008000u) >> 8) & 0x00FF00u;
    return rb | g;
}

}  // namespace

bool FilteredScaler::filters(ScaleMode mode, int sw, int sh, int aw, int ah) {
    if (mode == ScaleMode::Pixel || sw <= 0 || sh <= 0 || aw <= 0 || ah <= 0) return false;
    return aw % sw != 0 || ah % sh != 0;
}

std::vector<FilteredScaler::Tap> FilteredScaler::taps(ScaleMode mode, int size, int span) {
    std::vector<Tap> out(static_cast<std::size_t>(std::max(span, 0)));
    if (size <= 0 || span <= 0) return out;
    const std::int64_t w = size, d = span;
    for (std::int64_t i = 0; i < d; ++i) {
        std::int64_t k = 0, next = 0;
        if (mode == ScaleMode::Sharp && w <= d) {
            // The output pixel covers [i w / d, (i + 1) w / d) of the picture, at most two of its
            // pixels: each weighs the share it covers. In units of 1 / d.
            const std::int64_t from = i * w, to = from + w;
            k = from / d;
            const std::int64_t edge = (k + 1) * d;
            if (to > edge) next = ((to - edge) * 256 + w / 2) / w;
        } else if (mode != ScaleMode::Pixel) {
            // Bilinear: the output pixel's centre in picture coordinates, (i + 0.5) w / d - 0.5, in
            // units of 1 / (2 d). (A picture shown smaller in the sharp mode is sampled this way too.)
            const std::int64_t at = (2 * i + 1) * w - d;
            if (at > 0) {
                k = at / (2 * d);
                next = ((at - k * 2 * d) * 256 + d) / (2 * d);
            }
        } else {
            const std::uint32_t inc = static_cast<std::uint32_t>((w << 16) / d);
            k = static_cast<std::int64_t>((inc / 2 + static_cast<std::uint64_t>(i) * inc) >> 16);
        }
        if (next >= 256) ++k, next = 0;
        if (k >= w - 1) k = w - 1, next = 0;
        out[static_cast<std::size_t>(i)] = {static_cast<int>(k), static_cast<int>(next)};
    }
    return out;
}

void FilteredScaler::prepare(Axis& axis, ScaleMode mode, int size, int span) {
    if (axis.size == size && axis.span == span && mode_ == mode && !axis.taps.empty()) return;
    axis.size = size;
    axis.span = span;
    axis.taps = taps(mode, size, span);
}

void FilteredScaler::Axis::reach(int from, int to, int& first, int& last) const {
    // Taps only move forward along the axis, so the outputs reaching a range are one run of them.
    auto begin = std::partition_point(taps.begin(), taps.end(),
                                      [&](const Tap& t) { return t.first + (t.next ? 1 : 0) < from; });
    auto end = std::partition_point(begin, taps.end(), [&](const Tap& t) { return t.first < to; });
    first = static_cast<int>(begin - taps.begin());
    last = static_cast<int>(end - taps.begin());
}

FilteredScaler::Box FilteredScaler::copy(ScaleMode mode, const Pixels& source, const Box& box,
                                         const Pixels& output, const Box& area) {
    const int aw = area.right - area.left, ah = area.bottom - area.top;
    if (aw <= 0 || ah <= 0 || source.width <= 0 || source.height <= 0) return {};
    if (mode != mode_) x_.taps.clear(), y_.taps.clear();
    prepare(x_, mode, source.width, aw);
    prepare(y_, mode, source.height, ah);
    mode_ = mode;
    int x0, x1, y0, y1;
    x_.reach(box.left, box.right, x0, x1);
    y_.reach(box.top, box.bottom, y0, y1);
    // Only what lies inside the output.
    x0 = std::max(x0, -area.left), x1 = std::min(x1, output.width - area.left);
    y0 = std::max(y0, -area.top), y1 = std::min(y1, output.height - area.top);
    if (x0 >= x1 || y0 >= y1) return {};
    const int lastColumn = source.width - 1, lastRow = source.height - 1;
    for (int j = y0; j < y1; ++j) {
        const Tap ty = y_.taps[static_cast<std::size_t>(j)];
        const std::uint32_t* upper =
            source.pixels + static_cast<std::size_t>(ty.first) * static_cast<std::size_t>(source.pitch);
        const std::uint32_t* lower =
            source.pixels + static_cast<std::size_t>(std::min(ty.first + 1, lastRow)) *
                                static_cast<std::size_t>(source.pitch);
        std::uint32_t* out = output.pixels +
                             static_cast<std::size_t>(area.top + j) * static_cast<std::size_t>(output.pitch) +
                             area.left;
        const auto wy = static_cast<std::uint32_t>(ty.next);
        for (int i = x0; i < x1; ++i) {
            const Tap tx = x_.taps[static_cast<std::size_t>(i)];
            const int k = tx.first, k1 = std::min(k + 1, lastColumn);
            const auto wx = static_cast<std::uint32_t>(tx.next);
            std::uint32_t top = upper[k] & 0xFFFFFFu;
            if (wx) top = mix(top, upper[k1], wx);
            if (wy) {
                std::uint32_t bottom = lower[k] & 0xFFFFFFu;
                if (wx) bottom = mix(bottom, lower[k1], wx);
                top = mix(top, bottom, wy);
            }
            out[i] = top;
        }
    }
    return {area.left + x0, area.top + y0, area.left + x1, area.top + y1};
}

}  // namespace qa::platform::gfx
