// An item whose text file is set in a bitmap font with word wrap, scrolled by its source offset.
#pragma once

#include <string>

#include "scene/ImageItem.h"
#include "scene/TextLines.h"

namespace qa {
struct Matrix;
}
namespace qa::platform::gfx {
class Sprite;
}

namespace qa::scene {

class TextItem : public ImageItem {
  public:
    TextItem(SceneState& scene, const std::string& fontFileName, const std::string& textFileName);
    ~TextItem() override;

    bool draw() override;
    // Breaks `text` into `lines` to fit the width; done once, on the first draw.
    void layout();

    std::string textFileName;
    TextLines lines;
    bool laidOut = false;

  private:
    float glyphWidth(unsigned char c) const;
    // The lines from the scroll position down, glyph by glyph, clipped to the item's box.
    void drawLines(platform::gfx::Sprite& sprite, const Matrix& transform);
};

}  // namespace qa::scene
