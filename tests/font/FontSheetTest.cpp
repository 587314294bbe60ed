// Font-sheet layout: cell size, where glyphs are placed and the widths their alpha measures.
#include <gtest/gtest.h>

#include "font/FontSheet.h"

namespace qa::font {
namespace {

// A solid block of coverage w x h whose top-left pixel lies `left` right of the pen origin and
// `top` above the baseline.
Coverage block(int w, int h, int left, int top) {
    Coverage c;
    c.width = w, c.height = h, c.left = left, c.top = top;
    c.alpha.assign(static_cast<std::size_t>(w) * h, 255);
    return c;
}

GlyphImage glyph(int advance, Coverage fill) {
    GlyphImage g;
    g.present = true;
    g.advance = advance;
    g.fill = std::move(fill);
    return g;
}

// 'A' (column 1) reaches one pixel left of its origin; '0' (column 0) starts right at its origin;
// '@' (column 0) starts two pixels in; 'W' is the widest; the space has no ink; 'j' hangs below.
GlyphSet sampleGlyphs() {
    GlyphSet set;
    set.ascent = 8;
    set.descent = 2;
    set.glyphs['A'] = glyph(6, block(6, 8, -1, 8));
    set.glyphs['0'] = glyph(5, block(4, 8, 0, 8));
    set.glyphs['@'] = glyph(9, block(6, 8, 2, 8));
    set.glyphs['W'] = glyph(12, block(12, 8, 0, 8));
    set.glyphs[' '] = glyph(3, Coverage{});
    set.glyphs['j'] = glyph(3, block(2, 12, 0, 8));
    return set;
}

std::uint8_t alphaAt(const FontSheet& s, int x, int y) {
    return static_cast<std::uint8_t>(s.pixels()[static_cast<std::size_t>(y) * s.width() + x] >> 24);
}

// The widths measured from the sheet's alpha the way the engine reads a sheet, before its least
// width: the last column of a cell with any alpha, + 1, never looking at the cell's last column.
int measured(const FontSheet& s, int code) {
    const int cw = s.cellWidth(), ch = s.cellHeight();
    for (int k = cw - 1; k >= 1; --k) {
        for (int y = 0; y < ch; ++y) {
            if (alphaAt(s, (code % 16) * cw + k - 1, (code / 16) * ch + y)) return k;
        }
    }
    return 0;
}

// No cell has alpha in its last pixel column, nor a cell of the sheet's first column in its first.
void expectEdgesClear(const FontSheet& s) {
    for (int row = 0; row < 16; ++row) {
        for (int y = row * s.cellHeight(); y < (row + 1) * s.cellHeight(); ++y) {
            EXPECT_EQ(alphaAt(s, 0, y), 0) << "first pixel column, y " << y;
            for (int col = 0; col < 16; ++col)
                EXPECT_EQ(alphaAt(s, col * s.cellWidth() + s.cellWidth() - 1, y), 0)
                    << "cell " << row * 16 + col;
        }
    }
}

TEST(FontSheet, SmallestCellAndWidthsThatKeepEachAdvance) {
    FontSheet sheet;
    std::string error;
    ASSERT_TRUE(sheet.build(sampleGlyphs(), SheetStyle{}, error)) << error;
    // 'W' needs 12 columns, + the empty last one; 8 above the baseline and 4 below ('j').
    EXPECT_EQ(sheet.cellWidth(), 13);
    EXPECT_EQ(sheet.cellHeight(), 12);
    EXPECT_EQ(sheet.width(), 13 * 16);
    expectEdgesClear(sheet);
    // 'A' is moved one pixel right to keep its ink in the cell: its advance counts from there.
    EXPECT_EQ(sheet.glyphWidth('A'), 7);
    // '0' is in the sheet's first column: it starts one pixel in, and measures one less than its
    // advance + that pixel, as it is drawn one pixel further on than its width.
    EXPECT_EQ(sheet.glyphWidth('0'), 5);
    EXPECT_EQ(alphaAt(sheet, 1, 3 * 12 + 4), 255);
    // '@' already starts two pixels in: it keeps its place and its advance.
    EXPECT_EQ(sheet.glyphWidth('@'), 8);
    EXPECT_EQ(sheet.glyphWidth(' '), 2);
    EXPECT_EQ(sheet.glyphWidth('W'), 12);
    EXPECT_EQ(sheet.glyphWidth('B'), 0);  // no glyph: an empty cell
    for (int c = 0; c < 256; ++c) EXPECT_EQ(measured(sheet, c), sheet.glyphWidth(c)) << c;
    // Where the advance goes past the ink, one pixel of alpha 1 marks its end, on the cell's last row.
    const int jLeft = ('j' % 16) * 13, jBottom = ('j' / 16) * 12 + 11;
    EXPECT_EQ(sheet.pixels()[static_cast<std::size_t>(jBottom) * sheet.width() + jLeft + 2], 0x01FFFFFFu);
    EXPECT_EQ(alphaAt(sheet, jLeft + 1, jBottom), 255);  // the descender reaches the last row
}

TEST(FontSheet, InkWidthsRequestedCellsAndTooSmallCells) {
    SheetStyle style;
    style.advanceMarks = false;
    FontSheet sheet;
    std::string error;
    ASSERT_TRUE(sheet.build(sampleGlyphs(), style, error)) << error;
    EXPECT_EQ(sheet.glyphWidth('A'), 6);  // the ink alone, moved one pixel right
    EXPECT_EQ(sheet.glyphWidth('@'), 8);
    EXPECT_EQ(sheet.glyphWidth(' '), 0);
    for (std::uint32_t p : sheet.pixels()) EXPECT_NE(p >> 24, 1u);

    // A larger cell: same widths, the glyphs centred vertically.
    style.cellWidth = 20, style.cellHeight = 16;
    FontSheet large;
    ASSERT_TRUE(large.build(sampleGlyphs(), style, error)) << error;
    EXPECT_EQ(large.cellWidth(), 20);
    EXPECT_EQ(large.width(), 320);
    EXPECT_EQ(large.glyphWidth('A'), 6);
    EXPECT_EQ(alphaAt(large, ('W' % 16) * 20, ('W' / 16) * 16 + 1), 0);
    EXPECT_EQ(alphaAt(large, ('W' % 16) * 20, ('W' / 16) * 16 + 2), 255);
    expectEdgesClear(large);

    // Cells too small for the glyphs are refused with the size they need.
    style.cellWidth = 12, style.cellHeight = 16;
    EXPECT_FALSE(large.build(sampleGlyphs(), style, error));
    EXPECT_NE(error.find("at least 13 pixels wide"), std::string::npos) << error;
    style.cellWidth = 13, style.cellHeight = 11;
    EXPECT_FALSE(large.build(sampleGlyphs(), style, error));
    EXPECT_NE(error.find("at least 12 pixels high"), std::string::npos) << error;
}

TEST(FontSheet, OutlineAndShadowWidenTheGlyphsAndAreDrawnUnderThem) {
    GlyphSet set;
    set.glyphs['A'] = glyph(6, block(4, 6, 1, 6));
    set.glyphs['A'].outline = block(6, 8, 0, 7);    // one pixel around the fill
    set.glyphs['P'] = glyph(6, block(4, 6, 1, 6));  // column 0, no outline drawn for it
    SheetStyle style;
    style.colour = 0xFFFF0000u;
    style.outline = 1;
    style.outlineColour = 0xFF0000FFu;
    style.shadow = true;
    style.shadowDx = 2, style.shadowDy = 2;
    style.shadowColour = 0x80000000u;
    FontSheet sheet;
    std::string error;
    ASSERT_TRUE(sheet.build(set, style, error)) << error;
    // The advance grows by the outline and the shadow's offset to the right.
    EXPECT_EQ(sheet.glyphWidth('A'), 6 + 1 + 2);
    EXPECT_EQ(sheet.glyphWidth('P'), 6 + 1 + 2 - 1);  // the first column's glyphs are drawn one on
    expectEdgesClear(sheet);
    // Fill over outline over shadow, from the cell's top-left: outline at (0, 0) of the outline
    // block, fill one in from there, the shadow's corner beyond the outline's bottom-right.
    const int left = ('A' % 16) * sheet.cellWidth(), top = ('A' / 16) * sheet.cellHeight();
    int oy = 0;
    while (alphaAt(sheet, left, top + oy) == 0) ++oy;  // the outline's first row
    auto at = [&](int x, int y) {
        return sheet.pixels()[static_cast<std::size_t>(top + oy + y) * sheet.width() + left + x];
    };
    EXPECT_EQ(at(0, 0), 0xFF0000FFu);
    EXPECT_EQ(at(1, 1), 0xFFFF0000u);
    EXPECT_EQ(at(7, 9), 0x80000000u);  // shadow alone
    EXPECT_EQ(at(5, 7), 0xFF0000FFu);  // outline over shadow
}

}  // namespace
}  // namespace qa::font
