// Sprite drawing: placement, then the device's copies.
#include "platform/gfx/sdl/SdlSprite.h"

#include <typeinfo>

#include "platform/gfx/SpritePlacement.h"
#include "platform/gfx/sdl/SdlDevice.h"
#include "platform/gfx/sdl/SdlTexture.h"

namespace qa::platform::gfx {

bool SdlSprite::begin(std::uint32_t flags) {
    blend_ = (flags & kSpriteAlphaBlend) != 0;
    return true;
}

bool SdlSprite::setTransform(const Matrix& transform) {
    transform_ = transform;
    return true;
}

bool SdlSprite::end() {
    return true;
}

bool SdlSprite::draw(Texture* texture, const Rect* source, const Vec3* centre, const Vec3* position,
                     std::uint32_t colour) {
    if (!texture) return false;
    if (!device_.pixelsWanted()) return true;
    // Nearly always exactly an SdlTexture: the cheap test first (a frame draws thousands of glyphs).
    auto* picture = typeid(*texture) == typeid(SdlTexture) ? static_cast<SdlTexture*>(texture)
                                                           : dynamic_cast<SdlTexture*>(texture);
    if (!picture || !device_.renderer()) return false;
    if (blend_ && (colour >> 24) == 0) return true;  // fully transparent: nothing to see

    SpritePlacement::place(picture->width(), picture->height(), source, centre, position, transform_,
                           device_.width(), device_.height(), pieces_);
    if (pieces_.empty()) return true;
    return device_.drawPieces(*picture, pieces_, colour, blend_);
}

}  // namespace qa::platform::gfx
