// Construction of a visual from its file name, and its drawing.
#include "scene/Visual.h"

#include "common/Matrix.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Sprite.h"
#include "scene/NumberText.h"
#include "scene/Picture.h"
#include "scene/SceneState.h"

namespace qa::scene {

namespace {
bool endsWithTxt(const std::string& name) {
    return name.size() >= 5 && name.compare(name.size() - 4, 4, ".txt") == 0;
}
}  // namespace

Visual::Visual(SceneState& scene, const std::string& name) : fileName(name), scene_(scene) {
    SceneState& state = scene_;
    if (endsWithTxt(fileName)) {
        text = state.pictures.sharedText(fileName);
        if (state.systemFont) state.systemFont->preloadText(text);
        size = {400.0f, 300.0f, 0.0f};
        sourceSize.y = 300.0f;
    } else if (!fileName.empty()) {
        picture = state.pictures.acquire(fileName);
        if (picture) {
            size = {static_cast<float>(picture->info.width), static_cast<float>(picture->info.height), 0.0f};
            sourceSize = size;
        }
    }
    scale = {1.0f, 1.0f, 1.0f};
    colour = 0xFFFFFFFFu;
    centre = {size.x / 2, size.y / 2, 0.0f};
    sourceOffset = {};
    position = {};
}

Visual::~Visual() {
    // The picture was acquired under this visual's file name; the name is used rather than the
    // record, which may already be gone if every picture was released first.
    if (picture) scene_.pictures.release(fileName);
}

Matrix Visual::placement() const {
    const Vec3 translation{position.x - centre.x * scale.x, position.y - centre.y * scale.y,
                           position.z - centre.z * scale.z};
    return Matrix::transformation(&scale, &translation);
}

bool Visual::draw() {
    using namespace platform::gfx;
    if (!visible) return true;
    SceneState& state = scene_;
    Sprite* sprite = state.sprite;
    if (!sprite) return false;
    const Matrix transform = placement();
    if (picture) {
        const Rect source{truncToInt(sourceOffset.x), truncToInt(sourceOffset.y),
                          truncToInt(sourceSize.x + sourceOffset.x),
                          truncToInt(sourceSize.y + sourceOffset.y)};
        sprite->begin(kSpriteAlphaBlend);
        sprite->setTransform(transform);
        // With the centre as the sprite centre and the transform's translation holding -centre x scale,
        // the centre counts twice: the picture's top-left lands at position - 2 x centre x scale.
        sprite->draw(picture->texture.get(), &source, &centre, nullptr, colour);
        sprite->end();
        return true;
    }
    if (!text.empty()) {
        // Without a system font there is nothing to set the text in.
        if (!state.systemFont) return false;
        sprite->begin(kSpriteAlphaBlend);
        sprite->setTransform(transform);
        state.systemFont->drawText(sprite, text, Rect{0, 0, truncToInt(size.x), truncToInt(size.y)},
                                   kTextWordBreak, colour);
        sprite->end();
        return true;
    }
    return false;
}

}  // namespace qa::scene
