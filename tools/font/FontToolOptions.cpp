// Argument parsing for quorvart-font: three positional arguments and the style options.
#include "font/FontToolOptions.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace qa::font {

namespace {

bool parseInt(const std::string& text, int& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && !text.empty();
}

// RRGGBB (opaque) or RRGGBBAA, with or without a leading '#'; stored as ARGB.
bool parseColour(std::string text, std::uint32_t& argb) {
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    if (text.size() != 6 && text.size() != 8) return false;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    }
    const auto v = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
    argb = text.size() == 6 ? 0xFF000000u | v : (v >> 8) | (v & 0xFFu) << 24;
    return true;
}

// Two integers separated by `sep` ("2,3", "16x20").
bool parsePair(const std::string& text, char sep, int& a, int& b) {
    const std::size_t at = text.find(sep);
    return at != std::string::npos && parseInt(text.substr(0, at), a) && parseInt(text.substr(at + 1), b);
}

}  // namespace

const char* FontToolOptions::usage() {
    return "usage: quorvart-font FONT.ttf SIZE OUT.png [options]\n"
           "Draws the 256 glyph codes of a font (windows-1252 characters) into a bitmap-font sheet of\n"
           "16 x 16 cells that a scene's text items can use, and prints the cell size.\n"
           "  FONT.ttf              a TrueType or OpenType font file\n"
           "  SIZE                  the font size in pixels per em (4 to 160)\n"
           "  --color RRGGBB[AA]    colour of the glyphs (default FFFFFF: white, tinted by the item's "
           "colour)\n"
           "  --outline N           an outline N pixels thick around each glyph (0 to 32; default 0)\n"
           "  --outline-color C     colour of the outline (default 000000)\n"
           "  --shadow DX,DY        a shadow moved DX pixels right and DY down (-32 to 32 each)\n"
           "  --shadow-color C      colour of the shadow (default 000000)\n"
           "  --cell WxH            cell size in pixels (default: the smallest that holds every glyph)\n"
           "  --widths advance|ink  glyph widths from the font's advances (default; a pixel of alpha 1\n"
           "                        marks where each advance ends) or from the inked pixels alone\n"
           "  --help                this text\n"
           "  --version             the version\n"
           "Exit codes: 0 written, 1 the font could not be read or the sheet not written, 2 bad usage\n"
           "(OUT.png the font itself, or something other than a regular file).\n";
}

bool FontToolOptions::parse(int argc, const char* const* argv, std::string& error) {
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = a + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            help = true;
            return true;
        } else if (a == "--version") {
            version = true;
            return true;
        } else if (a == "--color" || a == "--colour" || a == "--outline-color" || a == "--outline-colour" ||
                   a == "--shadow-color" || a == "--shadow-colour") {
            if (!value(v)) return false;
            std::uint32_t& target = a.starts_with("--outline")  ? style.outlineColour
                                    : a.starts_with("--shadow") ? style.shadowColour
                                                                : style.colour;
            if (!parseColour(v, target)) {
                error = a + " takes a colour as RRGGBB or RRGGBBAA in hexadecimal, not '" + v + "'";
                return false;
            }
        } else if (a == "--outline") {
            if (!value(v)) return false;
            if (!parseInt(v, style.outline) || style.outline < 0 || style.outline > kMaxEffect) {
                error = "--outline takes a thickness from 0 to " + std::to_string(kMaxEffect) +
                        " pixels, not '" + v + "'";
                return false;
            }
        } else if (a == "--shadow") {
            if (!value(v)) return false;
            if (!parsePair(v, ',', style.shadowDx, style.shadowDy) || std::abs(style.shadowDx) > kMaxEffect ||
                std::abs(style.shadowDy) > kMaxEffect) {
                error = "--shadow takes DX,DY in pixels (each from -32 to 32), not '" + v + "'";
                return false;
            }
            style.shadow = true;
        } else if (a == "--cell") {
            if (!value(v)) return false;
            if (!parsePair(v, 'x', style.cellWidth, style.cellHeight) || style.cellWidth < 2 ||
                style.cellHeight < 1 || style.cellWidth > 256 || style.cellHeight > 256) {
                error = "--cell takes WxH in pixels (2x1 to 256x256), not '" + v + "'";
                return false;
            }
        } else if (a == "--widths") {
            if (!value(v)) return false;
            if (v != "advance" && v != "ink") {
                error = "--widths takes advance or ink, not '" + v + "'";
                return false;
            }
            style.advanceMarks = v == "advance";
        } else if (a.size() > 1 && a[0] == '-' && !std::isdigit(static_cast<unsigned char>(a[1]))) {
            error = "unknown option " + a;
            return false;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 3) {
        error = positional.size() < 3 ? "FONT.ttf, SIZE and OUT.png are needed"
                                      : "too many arguments (from '" + positional[3] + "' on)";
        return false;
    }
    fontPath = positional[0];
    outPath = positional[2];
    if (!parseInt(positional[1], pixelSize) || pixelSize < kMinSize || pixelSize > kMaxSize) {
        error = "SIZE is a number of pixels from " + std::to_string(kMinSize) + " to " +
                std::to_string(kMaxSize) + ", not '" + positional[1] + "'";
        return false;
    }
    return true;
}

}  // namespace qa::font
