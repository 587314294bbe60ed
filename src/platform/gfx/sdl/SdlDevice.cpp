// The shared part of the SDL devices.
#include "platform/gfx/sdl/SdlDevice.h"

#include <SDL.h>

#include "platform/gfx/PictureFile.h"
#include "platform/gfx/sdl/SdlFont.h"
#include "platform/gfx/sdl/SdlSprite.h"
#include "platform/gfx/sdl/SdlTexture.h"

namespace qa::platform::gfx {

SdlDevice::SdlDevice(SDL_Renderer* renderer, int width, int height)
    : renderer_(renderer), width_(width), height_(height) {}

SdlDevice::~SdlDevice() {
    releaseRenderer();
}

void SdlDevice::releaseRenderer() {
    // Pictures may outlive the device (the cache releases them later): they keep their pixels only.
    std::set<SdlTexture*> textures;
    textures.swap(textures_);
    for (SdlTexture* t : textures) t->detach();
    if (renderer_) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
}

bool SdlDevice::clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t) {
    if (!renderer_) return false;
    if (!pixelsWanted_ || !(flags & kClearTarget)) return true;
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer_, static_cast<Uint8>(colour >> 16), static_cast<Uint8>(colour >> 8),
                           static_cast<Uint8>(colour), static_cast<Uint8>(colour >> 24));
    return SDL_RenderClear(renderer_) == 0;
}

bool SdlDevice::endScene() {
    return renderer_ && SDL_RenderFlush(renderer_) == 0;
}

bool SdlDevice::drawPieces(SdlTexture& picture, std::span<const SpritePiece> pieces, std::uint32_t colour,
                           bool blend) {
    SDL_Texture* t = picture.sdlTexture();
    if (!t) return false;
    modulate(t, colour, blend);
    bool ok = true;
    for (const SpritePiece& p : pieces) ok = copyPiece(t, p) && ok;
    return ok;
}

bool SdlDevice::windowLosesItsPicture(const SDL_Event& event, SDL_Window* window) {
    if (event.type != SDL_WINDOWEVENT || event.window.windowID != SDL_GetWindowID(window)) return false;
    switch (event.window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            return true;
        default:
            return false;
    }
}

void SdlDevice::modulate(SDL_Texture* t, std::uint32_t colour, bool blend) {
    // Opaque white means no modulation at all: SDL skips the per-pixel multiply then.
    SDL_SetTextureColorMod(t, static_cast<Uint8>(colour >> 16), static_cast<Uint8>(colour >> 8),
                           static_cast<Uint8>(colour));
    SDL_SetTextureAlphaMod(t, static_cast<Uint8>(colour >> 24));
    SDL_SetTextureBlendMode(t, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
}

bool SdlDevice::copyPiece(SDL_Texture* t, const SpritePiece& p) {
    const SDL_Rect src{p.srcX, p.srcY, p.srcW, p.srcH};
    const SDL_Rect dst{p.dstX, p.dstY, p.dstW, p.dstH};
    if (!p.flipX && !p.flipY) return SDL_RenderCopy(renderer_, t, &src, &dst) == 0;
    // SDL draws nothing into a destination of negative size: mirroring goes through flips.
    const int flip = (p.flipX ? SDL_FLIP_HORIZONTAL : 0) | (p.flipY ? SDL_FLIP_VERTICAL : 0);
    return SDL_RenderCopyEx(renderer_, t, &src, &dst, 0.0, nullptr, static_cast<SDL_RendererFlip>(flip)) == 0;
}

void SdlDevice::uploadAgain() {
    for (SdlTexture* t : textures_) t->uploadAgain();
}

std::shared_ptr<Texture> SdlDevice::createTextureFromFile(FileSource& files, const std::string& windowsPath,
                                                          ImageInfo& info) {
    std::vector<std::uint32_t> argb;
    ImageInfo decoded;
    if (!PictureFile::decode(files, windowsPath, argb, decoded)) return nullptr;
    info = decoded;
    return std::make_shared<SdlTexture>(this, static_cast<int>(decoded.width),
                                        static_cast<int>(decoded.height), decoded.format, std::move(argb));
}

std::shared_ptr<Texture> SdlDevice::createTextureFromPixels(int width, int height,
                                                            std::vector<std::uint32_t> argb) {
    if (width <= 0 || height <= 0 || argb.size() != static_cast<std::size_t>(width) * height) return nullptr;
    return std::make_shared<SdlTexture>(this, width, height, kFormatA8R8G8B8, std::move(argb));
}

std::unique_ptr<Font> SdlDevice::createFont(const FontDescription& description) {
    return SdlFont::create(*this, description);
}

std::unique_ptr<Sprite> SdlDevice::createSprite() {
    return std::make_unique<SdlSprite>(*this);
}

bool SdlDevice::readBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) {
    if (!renderer_) return false;
    argb.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_ARGB8888, argb.data(), width_ * 4) != 0) {
        return false;
    }
    width = width_;
    height = height_;
    return true;
}

void SdlDevice::presentArea(int ow, int oh, int bw, int bh, bool keepAspect, SDL_Rect& area) {
    area = {0, 0, ow, oh};
    if (!keepAspect || ow <= 0 || oh <= 0 || bw <= 0 || bh <= 0) return;
    // Compare ow / oh with bw / bh without dividing.
    const long long wide = static_cast<long long>(ow) * bh;
    const long long tall = static_cast<long long>(oh) * bw;
    if (wide > tall) {
        area.w = static_cast<int>(static_cast<long long>(oh) * bw / bh);
        area.x = (ow - area.w) / 2;
    } else if (tall > wide) {
        area.h = static_cast<int>(static_cast<long long>(ow) * bh / bw);
        area.y = (oh - area.h) / 2;
    }
}

}  // namespace qa::platform::gfx
