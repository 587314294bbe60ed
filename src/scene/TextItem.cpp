// Bitmap-font text: layout once, then glyph-by-glyph drawing scrolled by the source offset.
#include "scene/TextItem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

#include "platform/gfx/Sprite.h"
#include "scene/NumberText.h"
#include "scene/Picture.h"
#include "scene/SceneState.h"

namespace qa::scene {

namespace {
constexpr float kLineHoldsSomething = 1.1920929e-7f;
}

TextItem::TextItem(SceneState& scene, const std::string& fontFileName, const std::string& textFileName)
    : ImageItem(scene, fontFileName), textFileName(textFileName) {
    text = scene.pictures.sharedText(textFileName);
    PictureCache::measureGlyphWidths(picture);
}

TextItem::~TextItem() = default;

float TextItem::glyphWidth(unsigned char c) const {
    return static_cast<float>(picture->glyphWidths[c]);
}

void TextItem::layout() {
    lines.clear();
    if (!picture) return;
    const float w = size.x;
    const float cellW = sourceSize.x * 0.0625f;
    // The line being filled is text[lineStart, wordStart), the word after it text[wordStart, i].
    std::size_t lineStart = 0, wordStart = 0;
    float lineWidth = 0.0f, wordWidth = 0.0f;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        bool hardBreak = false;
        bool dropsLineFeed = false;
        if (c == 13 || c == 10) {
            hardBreak = true;
            if (c == 13 && i + 1 < text.size() && text[i + 1] == 10) {
                ++i;  // "\r\n" is one line end; the line feed belongs to no line
                dropsLineFeed = true;
            }
        } else {
            wordWidth += glyphWidth(c);
        }
        if (c != 13 && c != 10 && c != 32 && c != 45) continue;
        const std::size_t next = i + 1;

        const float t = lineWidth + wordWidth;
        if (t > w && lineWidth >= kLineHoldsSomething) {
            // The word does not fit behind what the line holds: the line ends before it.
            lines.add(lineStart, false);
            lineStart = wordStart;
            lineWidth = 0.0f;
            // The word stays pending with its width, to be measured together with what follows,
            // unless it ends in a line end: that ends the word's own line too.
            if (!hardBreak) continue;
            wordStart = next;
            lineWidth = wordWidth;
            wordWidth = 0.0f;
        } else {
            wordStart = next;
            lineWidth = t;
            wordWidth = 0.0f;
            // A word wider than an empty line stays whole on its own line.
            if (!(t > w) && !hardBreak) continue;
        }
        lines.add(lineStart, dropsLineFeed);
        lineStart = next;
        // A line end with less than two cells of room left adds an empty line.
        if (hardBreak && 2.0f * cellW > w - lineWidth) lines.add(next, false);
        lineWidth = 0.0f;
    }
    if (lineStart < text.size()) lines.add(lineStart, false);
    lines.finish(text.size());
}

void TextItem::drawLines(platform::gfx::Sprite& sprite, const Matrix& transform) {
    using platform::gfx::Rect;
    const float cellW = sourceSize.x * 0.0625f;
    const float cellH = sourceSize.y * 0.0625f;
    const float w = size.x;
    const float h = size.y;
    const float ox = sourceOffset.x;
    const float oy = sourceOffset.y;
    const std::int64_t first = truncToInt64(std::floor(oy / cellH));
    Vec3 pen{0.0f, 0.0f, 0.0f};
    for (std::int64_t k = first; k >= 0 && k < static_cast<std::int64_t>(lines.size()) && pen.y + cellH <= h;
         ++k) {
        // Only line 0 is cut at the top; a later first line starts at its cell's top.
        const float topClip = k == 0 ? std::fmod(oy, cellH) : 0.0f;
        pen.x = 0.0f;
        float shifted = 0.0f;  // pixels added for glyphs of the sheet's first column on this line
        double advance = 0.0;
        for (char ch : lines.line(text, static_cast<std::size_t>(k))) {
            const auto c = static_cast<unsigned char>(ch);
            const float gw = glyphWidth(c);
            advance += gw;
            if (ox > advance) continue;  // left of the horizontal scroll position
            const double rightOver = std::max(advance - ox - w, 0.0);
            const int column = c % 16;
            const int row = c / 16;
            Rect source{truncToInt(column * cellW), truncToInt(row * cellH + topClip),
                        truncToInt(column * cellW + std::min(static_cast<double>(gw), cellW - rightOver)),
                        truncToInt((row + 1) * cellH)};
            if (source.left == 0) {
                // Glyphs of the sheet's first column start one pixel in.
                source.left = 1;
                pen.x += 1.0f;
                shifted += 1.0f;
            }
            sprite.setTransform(transform);
            sprite.draw(picture->texture.get(), &source, &centre, &pen, colour);
            pen.x += gw;
            // The line was laid out without the first-column pixels; counting them here would cut
            // the last letters of a line that the layout fitted into the width.
            if (pen.x - shifted > w) break;
        }
        pen.y += cellH - topClip;
    }
}

bool TextItem::draw() {
    if (!visible) return true;
    SceneState& state = scene_;
    platform::gfx::Sprite* sprite = state.sprite;
    if (!sprite || !picture) return false;
    if (!laidOut) {
        laidOut = true;
        try {
            layout();
        } catch (const std::bad_alloc&) {
            lines.clear();
            std::fprintf(stderr, "quorvart: the text %s is not shown: out of memory\n", textFileName.c_str());
        }
    }
    const Matrix transform = placement();
    sprite->begin(platform::gfx::kSpriteAlphaBlend);
    drawLines(*sprite, transform);
    sprite->end();
    state.enterInputReceivers(this);
    return drawChildren();
}

}  // namespace qa::scene
