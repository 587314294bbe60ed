// Bitmap-font text: layout once, then glyph-by-glyph drawing scrolled by the source offset.
#include "scene/TextItem.h"

#include "scene/SceneState.h"

namespace qa::scene {

TextItem::TextItem(const std::string& fontFileName, const std::string& textFileName)
    : ImageItem(fontFileName) {
    text = PictureCache::readTextFile(textFileName);
    PictureCache::measureGlyphWidths(picture);
}

TextItem::~TextItem() = default;

void TextItem::layout() {}

bool TextItem::draw() {
    if (!visible) return true;
    if (!sceneState().sprite || !picture) return false;
    if (!laidOut) {
        laidOut = true;
        layout();
    }
    sceneState().enterInputReceivers(this);
    return drawChildren();
}

}  // namespace qa::scene
