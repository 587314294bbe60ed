// Upload of kept pictures to the renderer.
#include "platform/gfx/sdl/SdlTexture.h"

#include <SDL.h>

#include <atomic>

#include "platform/gfx/sdl/SdlDevice.h"

namespace qa::platform::gfx {

namespace {
std::atomic<std::uint64_t> nextSerial{1};
}  // namespace

SdlTexture::SdlTexture(SdlDevice* owner, int width, int height, std::uint32_t formatCode,
                       std::vector<std::uint32_t> argb)
    : PixelTexture(width, height, formatCode, std::move(argb)), owner_(owner), serial_(nextSerial++) {
    if (owner_) owner_->attach(this);
}

SdlTexture::~SdlTexture() {
    if (owner_) owner_->forget(this);
    detach();
}

SDL_Texture* SdlTexture::sdlTexture() {
    if (sdl_ || failed_ || !owner_) return sdl_;
    sdl_ = SDL_CreateTexture(owner_->renderer(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, width(),
                             height());
    if (!sdl_ || SDL_UpdateTexture(sdl_, nullptr, pixels().data(), width() * 4) != 0) {
        if (sdl_) SDL_DestroyTexture(sdl_);
        sdl_ = nullptr;
        failed_ = true;  // asked once; a picture the renderer refuses draws nothing
        return nullptr;
    }
    SDL_SetTextureBlendMode(sdl_, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(sdl_, owner_->linearFiltering() ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return sdl_;
}

SDL_Texture* SdlTexture::takeUpload() {
    SDL_Texture* t = sdl_;
    sdl_ = nullptr;
    return t;
}

void SdlTexture::uploadAgain() {
    if (sdl_) SDL_DestroyTexture(sdl_);
    sdl_ = nullptr;
    failed_ = false;
}

void SdlTexture::detach() {
    if (sdl_) SDL_DestroyTexture(sdl_);
    sdl_ = nullptr;
    owner_ = nullptr;
}

}  // namespace qa::platform::gfx
