// Text layout and rendering with SDL2_ttf.
#include "platform/gfx/sdl/SdlFont.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/FontLookup.h"
#include "platform/Windows1252.h"
#include "platform/file/Files.h"
#include "platform/gfx/sdl/SdlDevice.h"
#include "platform/gfx/sdl/SdlSprite.h"
#include "platform/gfx/sdl/SdlTexture.h"

namespace qa::platform::gfx {

namespace {

// Average character width of the face the system asks for, as a share of its em: a font asked for
// with a width is stretched so that its average character has that width.
constexpr double kAverageWidthPerEm = 904.0 / 2048.0;
// Sizes are set as a small point size at a high resolution, so the pixel size can be fractional.
constexpr int kPointSize = 4;
constexpr int kMaxBlockSide = 16384;

// The code point a Windows-1252 byte stands for; 0 for control bytes and unassigned codes (tabs
// are shown as spaces).
std::uint32_t codePoint(unsigned char b) {
    if (b == '\t') return ' ';
    if (b < 0x20 || b == 0x7F) return 0;
    return Windows1252::codePoint(b);
}

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::string SdlFont::toUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        if (const std::uint32_t cp = codePoint(static_cast<unsigned char>(ch)))
            Windows1252::appendUtf8(out, cp);
    }
    return out;
}

std::unique_ptr<SdlFont> SdlFont::create(SdlDevice& device, const FontDescription& d) {
    if (TTF_Init() != 0) return nullptr;
    // The font file is read whole and kept in memory: the face is read from it a glyph at a time
    // (the 256 advances below alone), which from the file would be thousands of seeks and reads.
    TTF_Font* font = nullptr;
    auto data = std::make_unique<std::string>();
    const std::string path = FontLookup::find(d.faceName, d.weight, d.italic);
    if (!path.empty() && Files::readAll(path, *data)) {
        SDL_RWops* rw =
            data->empty() ? nullptr : SDL_RWFromConstMem(data->data(), static_cast<int>(data->size()));
        font = rw ? TTF_OpenFontDPIRW(rw, 1, 100, 72, 72) : nullptr;
        if (!font)
            std::fprintf(stderr, "quorvart: cannot open the font %s (%s)\n", path.c_str(), TTF_GetError());
    }
    if (!font) {
        TTF_Quit();
        return nullptr;
    }
    // At 100 pixels per em, the cell height (ascent + descent) tells the em size for the height
    // asked; a negative height asks for the em size itself.
    const int cell100 = std::max(1, TTF_FontAscent(font) - TTF_FontDescent(font));
    const int cellHeight = d.height > 0 ? d.height : 0;
    double emV = d.height > 0 ? d.height * 100.0 / cell100 : (d.height < 0 ? -d.height : 16.0);
    double emH = d.width > 0 ? d.width / kAverageWidthPerEm : emV;
    auto dpi = [](double em) { return static_cast<unsigned>(std::max(1.0, em * 72.0 / kPointSize + 0.5)); };
    unsigned vdpi = dpi(emV);
    TTF_SetFontSizeDPI(font, kPointSize, dpi(emH), vdpi);
    // Rounding in the font's metrics may make the cell a pixel taller than asked: shrink slightly.
    for (int i = 0; i < 32 && cellHeight > 0 && TTF_FontHeight(font) > cellHeight && vdpi > 1; ++i) {
        --vdpi;
        TTF_SetFontSizeDPI(font, kPointSize, dpi(emH), vdpi);
    }
    TTF_SetFontKerning(font, 0);
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    const int lineHeight = cellHeight > 0 ? cellHeight : std::max(1, TTF_FontHeight(font));
    return std::unique_ptr<SdlFont>(new SdlFont(device, font, std::move(data), lineHeight));
}

SdlFont::SdlFont(SdlDevice& device, TTF_Font* font, std::unique_ptr<std::string> file, int lineHeight)
    : device_(device), file_(std::move(file)), font_(font), lineHeight_(lineHeight) {
    // Kerning is off, so a text's width is the sum of its characters' advances.
    for (int b = 0; b < 256; ++b) {
        int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
        const std::uint32_t cp = codePoint(static_cast<unsigned char>(b));
        if (cp && TTF_GlyphMetrics32(font_, cp, &minX, &maxX, &minY, &maxY, &advance) == 0) {
            advances_[static_cast<std::size_t>(b)] = std::max(advance, 0);
        }
    }
}

SdlFont::~SdlFont() {
    blocks_.clear();
    TTF_CloseFont(font_);
    TTF_Quit();
}

int SdlFont::textWidth(const std::string& text) const {
    long long w = 0;
    for (char c : text) w += advances_[static_cast<unsigned char>(c)];
    return static_cast<int>(std::min<long long>(w, INT32_MAX));
}

std::vector<std::string> SdlFont::breakLines(const std::string& text, long width, bool wordBreak) const {
    std::vector<std::string> lines;
    auto widthOf = [this](const std::string& s, std::size_t from, std::size_t to) {
        long long w = 0;
        for (std::size_t i = from; i < to; ++i) w += advances_[static_cast<unsigned char>(s[i])];
        return w;
    };
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        const std::string paragraph =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!wordBreak) {
            lines.push_back(paragraph);
        } else {
            // The line is paragraph[from, to) with width `used`; words are added while they fit.
            std::size_t from = 0, to = 0;
            long long used = 0;
            while (to < paragraph.size()) {
                std::size_t wordStart = to;
                while (wordStart < paragraph.size() && isSpace(paragraph[wordStart])) ++wordStart;
                std::size_t wordEnd = wordStart;
                while (wordEnd < paragraph.size() && !isSpace(paragraph[wordEnd])) ++wordEnd;
                const long long spaces = widthOf(paragraph, to, wordStart);
                const long long word = widthOf(paragraph, wordStart, wordEnd);
                if (from == to || used + spaces + word <= width) {
                    used += spaces + word;
                } else {
                    lines.push_back(paragraph.substr(from, to - from));
                    from = wordStart;  // the spaces at the break go
                    used = word;
                }
                to = wordEnd;
                // A word wider than the whole line is broken between characters.
                while (used > width && to - from > 1) {
                    std::size_t fit = from;
                    long long w = 0;
                    while (fit < to && w + advances_[static_cast<unsigned char>(paragraph[fit])] <= width) {
                        w += advances_[static_cast<unsigned char>(paragraph[fit++])];
                    }
                    if (fit == from) w = advances_[static_cast<unsigned char>(paragraph[fit++])];
                    if (fit == to) break;
                    lines.push_back(paragraph.substr(from, fit - from));
                    from = fit;
                    used -= w;
                }
            }
            lines.push_back(paragraph.substr(from, to - from));
        }
        if (end == std::string::npos) break;
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        if (start == text.size()) break;  // a final line end starts no new line
    }
    return lines;
}

std::unique_ptr<SdlTexture> SdlFont::render(const std::vector<std::string>& lines, int width,
                                            int height) const {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    SDL_Surface* block = SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), width, height, 32, width * 4,
                                                            SDL_PIXELFORMAT_ARGB8888);
    if (!block) return nullptr;
    const SDL_Color white{255, 255, 255, 255};
    for (std::size_t i = 0; i < lines.size() && static_cast<long long>(i) * lineHeight_ < height; ++i) {
        // Only the characters that start inside the block are rendered.
        std::size_t shown = 0;
        for (long long x = 0; shown < lines[i].size() && x < width; ++shown) {
            x += advances_[static_cast<unsigned char>(lines[i][shown])];
        }
        const std::string utf8 = toUtf8(lines[i].substr(0, shown));
        if (utf8.empty()) continue;
        SDL_Surface* line = TTF_RenderUTF8_Blended(font_, utf8.c_str(), white);
        if (!line) continue;
        // Copied, not blended: the block keeps white with the glyphs' coverage as alpha.
        SDL_SetSurfaceBlendMode(line, SDL_BLENDMODE_NONE);
        SDL_Rect at{0, static_cast<int>(i) * lineHeight_, line->w, std::min(line->h, lineHeight_)};
        SDL_Rect from{0, 0, line->w, at.h};
        SDL_BlitSurface(line, &from, block, &at);
        SDL_FreeSurface(line);
    }
    SDL_FreeSurface(block);
    return std::make_unique<SdlTexture>(&device_, width, height, kFormatA8R8G8B8, std::move(pixels));
}

const SdlFont::Block* SdlFont::block(const std::string& text, long width, long height, std::uint32_t format) {
    // Found without building anything: a frame draws its texts again and again.
    for (auto it = blocks_.begin(); it != blocks_.end(); ++it) {
        if (it->rectWidth == width && it->rectHeight == height && it->format == format && it->text == text) {
            blocks_.splice(blocks_.begin(), blocks_, it);
            return &blocks_.front();
        }
    }
    Block b;
    b.text = text;
    b.rectWidth = width;
    b.rectHeight = height;
    b.format = format;
    const std::vector<std::string> lines = breakLines(text, width, (format & kTextWordBreak) != 0);
    b.textHeight =
        static_cast<int>(std::min<long long>(static_cast<long long>(lines.size()) * lineHeight_, INT32_MAX));
    long widest = 0;
    for (const std::string& l : lines) widest = std::max<long>(widest, textWidth(l));
    // Only what lies inside the rectangle is rendered: the text is clipped to it.
    b.width = static_cast<int>(std::clamp<long>(std::min(widest, width), 0, kMaxBlockSide));
    b.height =
        static_cast<int>(std::clamp<long long>(std::min<long long>(b.textHeight, height), 0, kMaxBlockSide));
    if (b.width > 0 && b.height > 0) b.texture = render(lines, b.width, b.height);
    blocks_.push_front(std::move(b));
    if (blocks_.size() > kCachedBlocks) {
        blocks_.pop_back();
    }
    return &blocks_.front();
}

int SdlFont::drawText(Sprite* sprite, const std::string& text, const Rect& rect, std::uint32_t format,
                      std::uint32_t colour) {
    if (text.empty() || !device_.pixelsWanted()) return 0;
    const Block* b = block(text, rect.right - rect.left, rect.bottom - rect.top, format);
    if (!b->texture) return b->textHeight;
    const Rect source{0, 0, b->width, b->height};
    const Vec3 at{static_cast<float>(rect.left), static_cast<float>(rect.top), 0.0f};
    if (sprite) {
        sprite->draw(b->texture.get(), &source, nullptr, &at, colour);
    } else {
        // Without a sprite the text is drawn untransformed.
        if (!ownSprite_) ownSprite_ = std::make_unique<SdlSprite>(device_);
        ownSprite_->begin(kSpriteAlphaBlend);
        ownSprite_->draw(b->texture.get(), &source, nullptr, &at, colour);
        ownSprite_->end();
    }
    return b->textHeight;
}

void SdlFont::preloadText(const std::string& text) {
    // Loads the text's glyphs into the font's glyph cache.
    const std::string utf8 = toUtf8(text.substr(0, 4096));
    int w = 0, h = 0;
    if (!utf8.empty()) TTF_SizeUTF8(font_, utf8.c_str(), &w, &h);
}

}  // namespace qa::platform::gfx
