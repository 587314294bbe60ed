// A font that draws word-wrapped text in a rectangle through a sprite, clipped to the rectangle.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/Sprite.h"

namespace qa::platform::gfx {

constexpr std::uint32_t kTextWordBreak = 16;

class Font {
  public:
    virtual ~Font() = default;
    // Draws the text bytes (Windows-1252) in the rectangle, in the sprite's space; returns the height drawn.
    virtual int drawText(Sprite* sprite, const std::string& text, const Rect& rect, std::uint32_t format,
                         std::uint32_t colour) = 0;
    // Prepares the glyphs of a text ahead of drawing.
    virtual void preloadText(const std::string& text) = 0;
};

}  // namespace qa::platform::gfx
