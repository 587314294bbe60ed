// Lays 256 rendered glyphs out as a bitmap-font sheet of 16 x 16 equal cells whose alpha measures
// back to each glyph's width.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "font/GlyphImage.h"

namespace qa::font {

struct SheetStyle {
    std::uint32_t colour = 0xFFFFFFFFu;         // ARGB of the glyphs
    std::uint32_t outlineColour = 0xFF000000u;  // ARGB of the outline layer
    std::uint32_t shadowColour = 0xFF000000u;   // ARGB of the shadow
    int outline = 0;                            // outline thickness in pixels (the layer is rendered apart)
    bool shadow = false;
    int shadowDx = 0;
    int shadowDy = 0;
    // Keeps each glyph's advance, blank space on its right included, with one pixel of alpha 1 in
    // the column where the advance ends; without it, widths end at the last inked column.
    bool advanceMarks = true;
    int cellWidth = 0;  // 0: the smallest cell that holds every glyph
    int cellHeight = 0;
};

class FontSheet {
  public:
    // Lays the glyphs out (glyph code c in row c / 16, column c % 16) and draws the sheet. False,
    // with the reason, when a requested cell size is too small for the glyphs.
    bool build(const GlyphSet& set, const SheetStyle& style, std::string& error);

    int cellWidth() const { return cellWidth_; }
    int cellHeight() const { return cellHeight_; }
    int width() const { return cellWidth_ * 16; }
    int height() const { return cellHeight_ * 16; }
    // Non-premultiplied ARGB, row by row.
    const std::vector<std::uint32_t>& pixels() const { return pixels_; }
    // The width a glyph's alpha measures: its rightmost non-transparent column + 1 (0 when blank),
    // before the reader's least width (a quarter cell + 1) is applied.
    int glyphWidth(int code) const { return widths_[static_cast<std::size_t>(code)]; }
    // The cell size the glyphs need, as found by the last build.
    int neededWidth() const { return neededWidth_; }
    int neededHeight() const { return neededHeight_; }

  private:
    int cellWidth_ = 0;
    int cellHeight_ = 0;
    int neededWidth_ = 0;
    int neededHeight_ = 0;
    std::array<int, 256> widths_{};
    std::vector<std::uint32_t> pixels_;
};

}  // namespace qa::font
