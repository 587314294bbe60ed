// Renders the 256 windows-1252 glyph codes of a TrueType or OpenType font through FreeType.
#pragma once

#include <string>

#include "font/GlyphImage.h"

namespace qa::font {

class GlyphRasterizer {
  public:
    // Renders every glyph code at `pixelSize` pixels per em, with an outline layer `outline`
    // pixels thick when it is above 0. Codes below 32, 127, the five the code page leaves
    // unassigned and those the font has no glyph for stay empty. False, with the reason, when the
    // font cannot be read.
    static bool render(const std::string& fontPath, int pixelSize, int outline, GlyphSet& set,
                       std::string& error);
    // How many of the code page's characters the last render found no glyph for.
    static int missing(const GlyphSet& set);
};

}  // namespace qa::font
