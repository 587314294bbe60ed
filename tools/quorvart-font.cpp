// quorvart-font: makes a bitmap-font sheet for text items from a TrueType or OpenType font.
#include <cstdio>
#include <string>

#include "font/FontSheet.h"
#include "font/FontToolOptions.h"
#include "font/GlyphRasterizer.h"
#include "font/SheetFile.h"
#include "platform/file/OutputFile.h"
#include "platform/gfx/PictureFile.h"

int main(int argc, char** argv) {
    using namespace qa::font;
    FontToolOptions options;
    std::string error;
    if (!options.parse(argc, argv, error)) {
        std::fprintf(stderr, "quorvart-font: %s\n%s", error.c_str(), FontToolOptions::usage());
        return 2;
    }
    if (options.help) {
        std::fputs(FontToolOptions::usage(), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("quorvart-font 1.1\n", stdout);
        return 0;
    }
    // The sheet replaces only a regular file, and never the font it is drawn from.
    const std::string refused = qa::platform::OutputFile::refusal(options.outPath, {options.fontPath});
    if (!refused.empty()) {
        std::fprintf(stderr, "quorvart-font: %s\n", refused.c_str());
        return 2;
    }
    GlyphSet glyphs;
    if (!GlyphRasterizer::render(options.fontPath, options.pixelSize, options.style.outline, glyphs, error)) {
        std::fprintf(stderr, "quorvart-font: %s\n", error.c_str());
        return 1;
    }
    FontSheet sheet;
    if (!sheet.build(glyphs, options.style, error)) {
        std::fprintf(stderr, "quorvart-font: %s\n", error.c_str());
        return 2;
    }
    if (static_cast<unsigned long long>(sheet.width()) * sheet.height() >
        qa::platform::gfx::PictureFile::kMaxPixels) {
        std::fprintf(stderr,
                     "quorvart-font: a %d x %d sheet is larger than a picture may be; use a smaller SIZE\n",
                     sheet.width(), sheet.height());
        return 2;
    }
    if (!SheetFile::write(sheet, options.outPath, error)) {
        std::fprintf(stderr, "quorvart-font: %s\n", error.c_str());
        return 1;
    }
    if (const int missing = GlyphRasterizer::missing(glyphs)) {
        std::fprintf(
            stderr,
            "quorvart-font: note: the font has no glyph for %d of the characters; their cells are empty\n",
            missing);
    }
    std::printf("cell %d x %d pixels, sheet %d x %d: %s\n", sheet.cellWidth(), sheet.cellHeight(),
                sheet.width(), sheet.height(), options.outPath.c_str());
    return 0;
}
