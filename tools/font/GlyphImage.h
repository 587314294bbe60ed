// Rendered glyphs: coverage layers placed against the pen origin on the baseline, and advances.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qa::font {

// An 8-bit coverage bitmap. Its pixel (0, 0) lies `left` pixels right of the pen origin and `top`
// pixels above the baseline (negative: below it).
struct Coverage {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    std::vector<std::uint8_t> alpha;  // width x height, row by row

    std::uint8_t at(int x, int y) const { return alpha[static_cast<std::size_t>(y) * width + x]; }
};

struct GlyphImage {
    bool present = false;  // false: the cell stays empty (no character, or none in the font)
    int advance = 0;       // pixels from this glyph's pen origin to the next one's
    Coverage fill;
    Coverage outline;  // the glyph's border stroked around it; empty without an outline
};

// The 256 glyphs of a sheet, by glyph code, and the font's room above and below the baseline.
struct GlyphSet {
    std::array<GlyphImage, 256> glyphs;
    int ascent = 0;
    int descent = 0;
};

}  // namespace qa::font
