// Sprite drawing through SDL_RenderCopy.
#include "platform/gfx/sdl/SdlSprite.h"

#include <SDL.h>

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
    auto* picture = dynamic_cast<SdlTexture*>(texture);
    if (!picture || !device_.renderer()) return false;
    const auto alpha = static_cast<Uint8>(colour >> 24);
    if (blend_ && alpha == 0) return true;  // fully transparent: nothing to see

    std::vector<SpritePiece>& pieces = pieces_;
    SpritePlacement::place(picture->width(), picture->height(), source, centre, position, transform_,
                           device_.width(), device_.height(), pieces);
    if (pieces.empty()) return true;
    SDL_Texture* t = picture->sdlTexture();
    if (!t) return false;
    // Opaque white means no modulation at all: SDL skips the per-pixel multiply then, which the
    // software renderer would otherwise pay for on every pixel.
    SDL_SetTextureColorMod(t, static_cast<Uint8>(colour >> 16), static_cast<Uint8>(colour >> 8),
                           static_cast<Uint8>(colour));
    SDL_SetTextureAlphaMod(t, alpha);
    SDL_SetTextureBlendMode(t, blend_ ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);

    SDL_Renderer* r = device_.renderer();
    bool ok = true;
    for (const SpritePiece& p : pieces) {
        const SDL_Rect src{p.srcX, p.srcY, p.srcW, p.srcH};
        const SDL_Rect dst{p.dstX, p.dstY, p.dstW, p.dstH};
        if (!p.flipX && !p.flipY) {
            ok = SDL_RenderCopy(r, t, &src, &dst) == 0 && ok;
        } else {
            // SDL draws nothing into a destination of negative size: mirroring goes through flips.
            const int flip = (p.flipX ? SDL_FLIP_HORIZONTAL : 0) | (p.flipY ? SDL_FLIP_VERTICAL : 0);
            ok = SDL_RenderCopyEx(r, t, &src, &dst, 0.0, nullptr, static_cast<SDL_RendererFlip>(flip)) == 0 &&
                 ok;
        }
    }
    return ok;
}

}  // namespace qa::platform::gfx
