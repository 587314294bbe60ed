// Bitmap-font sheet layout: cell size, glyph placement and the layers drawn into each cell.
#include "font/FontSheet.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qa::font {

namespace {

// Pixels with coverage, relative to the pen origin on the baseline (y grows downwards); x1 and y1
// are exclusive. Empty when x0 >= x1.
struct Box {
    int x0 = std::numeric_limits<int>::max();
    int y0 = std::numeric_limits<int>::max();
    int x1 = std::numeric_limits<int>::min();
    int y1 = std::numeric_limits<int>::min();

    bool empty() const { return x0 >= x1; }
    void add(const Box& o) {
        if (o.empty()) return;
        x0 = std::min(x0, o.x0), y0 = std::min(y0, o.y0);
        x1 = std::max(x1, o.x1), y1 = std::max(y1, o.y1);
    }
    Box moved(int dx, int dy) const {
        if (empty()) return *this;
        return Box{x0 + dx, y0 + dy, x1 + dx, y1 + dy};
    }
};

Box inkBox(const Coverage& c) {
    Box box;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            if (c.at(x, y) == 0) continue;
            box.add(Box{c.left + x, y - c.top, c.left + x + 1, y - c.top + 1});
        }
    }
    return box;
}

// The whole glyph with every layer drawn: fill, outline and the shadow of both.
Box glyphBox(const GlyphImage& g, const SheetStyle& style) {
    Box shape = inkBox(g.fill);
    shape.add(inkBox(g.outline));
    Box all = shape;
    if (style.shadow) all.add(shape.moved(style.shadowDx, style.shadowDy));
    return all;
}

// A premultiplied RGBA pixel in 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

// Coverage in 0..1 of a colour laid over a pixel.
void over(Rgba& dst, std::uint32_t argb, float coverage) {
    const float a = coverage * static_cast<float>(argb >> 24) / 255.0f;
    if (a <= 0.0f) return;
    const float keep = 1.0f - a;
    dst.r = a * static_cast<float>((argb >> 16) & 0xFF) / 255.0f + dst.r * keep;
    dst.g = a * static_cast<float>((argb >> 8) & 0xFF) / 255.0f + dst.g * keep;
    dst.b = a * static_cast<float>(argb & 0xFF) / 255.0f + dst.b * keep;
    dst.a = a + dst.a * keep;
}

std::uint32_t toArgb(const Rgba& p) {
    const auto a = static_cast<std::uint32_t>(std::lround(std::clamp(p.a, 0.0f, 1.0f) * 255.0f));
    if (a == 0) return 0;
    auto channel = [&](float premultiplied) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(premultiplied / p.a, 0.0f, 1.0f) * 255.0f));
    };
    return a << 24 | channel(p.r) << 16 | channel(p.g) << 8 | channel(p.b);
}

}  // namespace

bool FontSheet::build(const GlyphSet& set, const SheetStyle& style, std::string& error) {
    const auto& glyphs = set.glyphs;
    // The pen origin of each glyph within its cell: moved right just enough that nothing lies left
    // of the cell, nor in the first pixel column of the sheet's first column (never drawn).
    std::array<int, 256> originX{};
    std::array<int, 256> reach{};  // the width each glyph should measure
    const int rightExtra = style.outline + (style.shadow ? std::max(style.shadowDx, 0) : 0);
    // At least the font's own line room, with what the outline and shadow add to it.
    int above = set.ascent + style.outline + (style.shadow ? std::max(-style.shadowDy, 0) : 0);
    int below = set.descent + style.outline + (style.shadow ? std::max(style.shadowDy, 0) : 0);
    int widest = 0;
    for (int c = 0; c < 256; ++c) {
        const GlyphImage& g = glyphs[static_cast<std::size_t>(c)];
        if (!g.present) continue;
        const Box box = glyphBox(g, style);
        const int lead = c % 16 == 0 ? 1 : 0;
        int inkRight = 0;
        if (!box.empty()) {
            originX[c] = std::max(lead - box.x0, 0);
            inkRight = originX[c] + box.x1;
            above = std::max(above, -box.y0);
            below = std::max(below, box.y1);
        }
        // The reader draws a glyph of the first column one pixel further on than its width says
        // (it skips the cell's first pixel column and moves the pen past it): one pixel less keeps
        // the next glyph where the font puts it.
        const int advance = style.advanceMarks ? originX[c] + g.advance + rightExtra - lead : 0;
        reach[c] = std::max(inkRight, advance);
        widest = std::max(widest, reach[c]);
    }
    // The cell's last pixel column is never measured: it stays empty.
    neededWidth_ = widest + 1;
    neededHeight_ = std::max(above + below, 1);
    if (style.cellWidth > 0 && style.cellWidth < neededWidth_) {
        error = "the glyphs need cells of at least " + std::to_string(neededWidth_) + " pixels wide, not " +
                std::to_string(style.cellWidth);
        return false;
    }
    if (style.cellHeight > 0 && style.cellHeight < neededHeight_) {
        error = "the glyphs need cells of at least " + std::to_string(neededHeight_) + " pixels high, not " +
                std::to_string(style.cellHeight);
        return false;
    }
    cellWidth_ = style.cellWidth > 0 ? style.cellWidth : neededWidth_;
    cellHeight_ = style.cellHeight > 0 ? style.cellHeight : neededHeight_;
    const int baseline = above + (cellHeight_ - neededHeight_) / 2;

    pixels_.assign(static_cast<std::size_t>(width()) * static_cast<std::size_t>(height()), 0);
    widths_.fill(0);
    std::vector<Rgba> cell(static_cast<std::size_t>(cellWidth_) * cellHeight_);
    std::vector<float> shape(cell.size());
    for (int c = 0; c < 256; ++c) {
        const GlyphImage& g = glyphs[static_cast<std::size_t>(c)];
        if (!g.present) continue;
        std::fill(cell.begin(), cell.end(), Rgba{});
        std::fill(shape.begin(), shape.end(), 0.0f);
        // Each layer's coverage at cell pixel (x, y), moved by (dx, dy).
        auto coverageAt = [&](const Coverage& cov, int x, int y, int dx, int dy) {
            const int cx = x - dx - originX[c] - cov.left;
            const int cy = y - dy - baseline + cov.top;
            if (cx < 0 || cy < 0 || cx >= cov.width || cy >= cov.height) return 0.0f;
            return static_cast<float>(cov.at(cx, cy)) / 255.0f;
        };
        for (int y = 0; y < cellHeight_; ++y) {
            for (int x = 0; x < cellWidth_; ++x) {
                const std::size_t i = static_cast<std::size_t>(y) * cellWidth_ + x;
                if (style.shadow) {
                    const float s = std::max(coverageAt(g.fill, x, y, style.shadowDx, style.shadowDy),
                                             coverageAt(g.outline, x, y, style.shadowDx, style.shadowDy));
                    over(cell[i], style.shadowColour, s);
                }
                over(cell[i], style.outlineColour, coverageAt(g.outline, x, y, 0, 0));
                over(cell[i], style.colour, coverageAt(g.fill, x, y, 0, 0));
            }
        }
        const int left = (c % 16) * cellWidth_;
        const int top = (c / 16) * cellHeight_;
        int lastInk = -1;
        for (int y = 0; y < cellHeight_; ++y) {
            for (int x = 0; x < cellWidth_; ++x) {
                const std::uint32_t p = toArgb(cell[static_cast<std::size_t>(y) * cellWidth_ + x]);
                pixels_[static_cast<std::size_t>(top + y) * width() + left + x] = p;
                if (p >> 24) lastInk = std::max(lastInk, x);
            }
        }
        // The advance is kept by one nearly invisible pixel where no ink reaches that far.
        if (reach[c] - 1 > lastInk) {
            const std::size_t markRow = static_cast<std::size_t>(top + cellHeight_ - 1);
            pixels_[markRow * width() + left + reach[c] - 1] = 0x01000000u | (style.colour & 0x00FFFFFFu);
            lastInk = reach[c] - 1;
        }
        widths_[static_cast<std::size_t>(c)] = lastInk + 1;
    }
    return true;
}

}  // namespace qa::font
