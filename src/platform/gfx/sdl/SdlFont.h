// The system font on SDL2_ttf with Liberation Sans (metric-compatible with the "Arial" face the
// system asks for): text bytes in Windows-1252, word-wrapped in a rectangle, clipped to it, drawn
// white through the sprite so the sprite's transform and colour apply.
#pragma once

#include <array>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Device.h"
#include "platform/gfx/Font.h"

typedef struct _TTF_Font TTF_Font;

namespace qa::platform::gfx {

class SdlDevice;
class SdlSprite;
class SdlTexture;

class SdlFont : public Font {
  public:
    // Fonts are looked for here, regular, bold, italic and bold italic.
    static constexpr const char* kFontFolders[] = {"/usr/share/fonts/truetype/liberation/",
                                                   "/usr/share/fonts/truetype/liberation2/"};

    // The font for the description (height = character cell height in pixels, width = average
    // character width); null when no font file can be opened.
    static std::unique_ptr<SdlFont> create(SdlDevice& device, const FontDescription& description);
    ~SdlFont() override;

    int drawText(Sprite* sprite, const std::string& text, const Rect& rect, std::uint32_t format,
                 std::uint32_t colour) override;
    void preloadText(const std::string& text) override;

    // The lines a text is set in: broken at line ends, and with word breaking at spaces so that no
    // line is wider than `width` (a word wider than a line is broken between characters).
    std::vector<std::string> breakLines(const std::string& text, long width, bool wordBreak) const;
    // The width of a line of text in pixels (the sum of its characters' advances).
    int textWidth(const std::string& text) const;
    int lineHeight() const { return lineHeight_; }

    // Windows-1252 bytes as UTF-8; control bytes and the five unassigned codes are left out.
    static std::string toUtf8(const std::string& text);

  private:
    struct Block {
        // What the block is for: the text, the rectangle's size and the format.
        std::string text;
        long rectWidth = 0;
        long rectHeight = 0;
        std::uint32_t format = 0;
        std::unique_ptr<SdlTexture> texture;  // null when nothing is visible
        int width = 0;
        int height = 0;
        int textHeight = 0;
    };

    SdlFont(SdlDevice& device, TTF_Font* font, std::unique_ptr<std::string> file, int lineHeight);
    const Block* block(const std::string& text, long width, long height, std::uint32_t format);
    std::unique_ptr<SdlTexture> render(const std::vector<std::string>& lines, int width, int height) const;

    static constexpr std::size_t kCachedBlocks = 16;

    SdlDevice& device_;
    std::unique_ptr<std::string> file_;  // the font file's bytes, which the face is read from
    TTF_Font* font_;
    int lineHeight_;
    std::array<int, 256> advances_{};  // pixels per text byte
    std::list<Block> blocks_;          // most recently drawn first
    std::unique_ptr<SdlSprite> ownSprite_;
};

}  // namespace qa::platform::gfx
