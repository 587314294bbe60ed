// FreeType glyph rendering: anti-aliased coverage of the glyph and of its stroked border.
#include "font/GlyphRasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_STROKER_H

#include <cmath>
#include <memory>

#include "platform/Windows1252.h"
#include "platform/file/Files.h"
#include "platform/file/RegularFile.h"

namespace qa::font {

namespace {

// No font file comes near this; a bigger one is not read whole.
constexpr std::uint64_t kMaxFontBytes = 256ull << 20;

struct LibraryDeleter {
    void operator()(FT_Library l) const { FT_Done_FreeType(l); }
};
struct FaceDeleter {
    void operator()(FT_Face f) const { FT_Done_Face(f); }
};
struct StrokerDeleter {
    void operator()(FT_Stroker s) const { FT_Stroker_Done(s); }
};
struct GlyphDeleter {
    void operator()(FT_Glyph g) const { FT_Done_Glyph(g); }
};
using GlyphPtr = std::unique_ptr<std::remove_pointer_t<FT_Glyph>, GlyphDeleter>;

// The character a glyph code stands for, or 0 when its cell stays empty.
std::uint32_t characterOf(int code) {
    if (code < 32 || code == 127) return 0;
    return platform::Windows1252::codePoint(static_cast<unsigned char>(code));
}

// Turns an outline glyph into coverage (the glyph is replaced by its bitmap).
bool toCoverage(GlyphPtr& glyph, Coverage& out) {
    FT_Glyph g = glyph.release();
    const FT_Error err = FT_Glyph_To_Bitmap(&g, FT_RENDER_MODE_NORMAL, nullptr, 1);
    glyph.reset(g);
    if (err || g->format != FT_GLYPH_FORMAT_BITMAP) return false;
    const auto* bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(g);
    const FT_Bitmap& bm = bitmapGlyph->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY) return false;
    out.width = static_cast<int>(bm.width);
    out.height = static_cast<int>(bm.rows);
    out.left = bitmapGlyph->left;
    out.top = bitmapGlyph->top;
    out.alpha.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    const int pitch = bm.pitch;
    for (int y = 0; y < out.height; ++y) {
        // A negative pitch means the rows are stored from the bottom up.
        const unsigned char* row = pitch >= 0
                                       ? bm.buffer + static_cast<std::ptrdiff_t>(y) * pitch
                                       : bm.buffer + static_cast<std::ptrdiff_t>(out.height - 1 - y) * -pitch;
        for (int x = 0; x < out.width; ++x) {
            const unsigned v =
                bm.num_grays == 256 || bm.num_grays < 2 ? row[x] : row[x] * 255u / (bm.num_grays - 1);
            out.alpha[static_cast<std::size_t>(y) * out.width + x] = static_cast<std::uint8_t>(v);
        }
    }
    return true;
}

std::string freetypeError(const std::string& what, FT_Error err) {
    switch (err) {
        case FT_Err_Cannot_Open_Resource:
            return what + ": the file cannot be opened";
        case FT_Err_Unknown_File_Format:
            return what + ": not a font file FreeType knows";
        case FT_Err_Invalid_File_Format:
            return what + ": the file is damaged or not a font";
        default:
            break;
    }
    const char* text = FT_Error_String(err);
    return what + (text ? std::string(": ") + text : " (FreeType error " + std::to_string(err) + ")");
}

}  // namespace

bool GlyphRasterizer::render(const std::string& fontPath, int pixelSize, int outline, GlyphSet& set,
                             std::string& error) {
    set = GlyphSet{};
    FT_Library rawLibrary = nullptr;
    if (FT_Error err = FT_Init_FreeType(&rawLibrary)) {
        error = freetypeError("FreeType did not start", err);
        return false;
    }
    std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter> library(rawLibrary);
    // Read whole from a regular file opened without waiting (a named pipe is refused, not waited
    // on); FreeType reads the face from memory, which lives as long as the face.
    std::string bytes;
    std::unique_ptr<platform::RegularFile> file = platform::RegularFile::open(fontPath);
    if (!file || !platform::Files::readAll(*file, bytes, kMaxFontBytes)) {
        error = "cannot read the font " + fontPath +
                ": the file cannot be opened (it is missing, unreadable or not a regular file)";
        return false;
    }
    file.reset();
    FT_Face rawFace = nullptr;
    if (FT_Error err = FT_New_Memory_Face(rawLibrary, reinterpret_cast<const FT_Byte*>(bytes.data()),
                                          static_cast<FT_Long>(bytes.size()), 0, &rawFace)) {
        // Too short to hold a font's tables: read from memory, FreeType says it read past the end.
        if (err == FT_Err_Invalid_Stream_Operation) err = FT_Err_Unknown_File_Format;
        error = freetypeError("cannot read the font " + fontPath, err);
        return false;
    }
    std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter> face(rawFace);
    if (!FT_IS_SCALABLE(rawFace)) {
        error = "the font " + fontPath + " has no outlines (only scalable fonts can be drawn at any size)";
        return false;
    }
    if (FT_Error err = FT_Set_Pixel_Sizes(rawFace, 0, static_cast<FT_UInt>(pixelSize))) {
        error = freetypeError("the font cannot be set to that size", err);
        return false;
    }
    // FT_Select_Charmap picks the Unicode map where the font has one (the usual case).
    FT_Select_Charmap(rawFace, FT_ENCODING_UNICODE);
    set.ascent = static_cast<int>((rawFace->size->metrics.ascender + 63) >> 6);
    set.descent = static_cast<int>((-rawFace->size->metrics.descender + 63) >> 6);

    std::unique_ptr<std::remove_pointer_t<FT_Stroker>, StrokerDeleter> stroker;
    if (outline > 0) {
        FT_Stroker rawStroker = nullptr;
        if (FT_Error err = FT_Stroker_New(rawLibrary, &rawStroker)) {
            error = freetypeError("FreeType cannot stroke outlines", err);
            return false;
        }
        stroker.reset(rawStroker);
        FT_Stroker_Set(rawStroker, static_cast<FT_Fixed>(outline) * 64, FT_STROKER_LINECAP_ROUND,
                       FT_STROKER_LINEJOIN_ROUND, 0);
    }

    for (int code = 0; code < 256; ++code) {
        const std::uint32_t ch = characterOf(code);
        if (ch == 0) continue;
        const FT_UInt index = FT_Get_Char_Index(rawFace, ch);
        if (index == 0) continue;
        if (FT_Load_Glyph(rawFace, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP)) continue;
        FT_Glyph rawGlyph = nullptr;
        if (FT_Get_Glyph(rawFace->glyph, &rawGlyph)) continue;
        GlyphPtr glyph(rawGlyph);
        GlyphImage& image = set.glyphs[static_cast<std::size_t>(code)];
        image.advance = static_cast<int>((rawFace->glyph->advance.x + 32) >> 6);
        FT_Glyph rawBorder = nullptr;
        if (stroker && FT_Glyph_Copy(glyph.get(), &rawBorder) == 0) {
            // An empty outline (a space) has no border: the glyph keeps its fill alone.
            const bool stroked = FT_Glyph_StrokeBorder(&rawBorder, stroker.get(), 0, 1) == 0;
            GlyphPtr border(rawBorder);
            if (!stroked || !toCoverage(border, image.outline)) image.outline = Coverage{};
        }
        if (!toCoverage(glyph, image.fill)) continue;
        image.present = true;
    }
    return true;
}

int GlyphRasterizer::missing(const GlyphSet& set) {
    int n = 0;
    for (int code = 0; code < 256; ++code) {
        if (characterOf(code) != 0 && !set.glyphs[static_cast<std::size_t>(code)].present) ++n;
    }
    return n;
}

}  // namespace qa::font
