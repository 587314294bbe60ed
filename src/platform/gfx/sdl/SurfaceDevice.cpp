// The software renderer over a memory back buffer.
#include "platform/gfx/sdl/SurfaceDevice.h"

#include <SDL.h>

#include "platform/gfx/SoftwareCompositor.h"
#include "platform/gfx/sdl/SdlTexture.h"

namespace qa::platform::gfx {

std::unique_ptr<SurfaceDevice> SurfaceDevice::create(int width, int height, SDL_Window* window,
                                                     bool keepAspect, bool paced) {
    if (width <= 0 || height <= 0) return nullptr;
    // The back buffer has no alpha channel, as the device's X8R8G8B8 back buffer has none: blending
    // into it is cheaper, and it copies onto a window surface of the same format as it is.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
    if (!surface) return nullptr;
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    if (!renderer) {
        SDL_FreeSurface(surface);
        return nullptr;
    }
    if (window) {
        // The window's surface must be the plain framebuffer, not one emulated through an OpenGL
        // texture (which on a software rasteriser costs more than the drawing).
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    return std::unique_ptr<SurfaceDevice>(new SurfaceDevice(renderer, surface, window, keepAspect, paced));
}

SurfaceDevice::SurfaceDevice(SDL_Renderer* renderer, SDL_Surface* surface, SDL_Window* window,
                             bool keepAspect, bool paced)
    : SdlDevice(renderer, surface->w, surface->h),
      surface_(surface),
      window_(window),
      keepAspect_(keepAspect) {
    SDL_SetSurfaceBlendMode(surface_, SDL_BLENDMODE_NONE);
    if (window_ && paced) pacer_ = std::make_unique<FramePacer>(window_, 1.0);
}

SurfaceDevice::~SurfaceDevice() {
    releaseRenderer();
    SDL_FreeSurface(surface_);
}

bool SurfaceDevice::clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t) {
    if (!renderer()) return false;
    if (!pixelsWanted() || !(flags & kClearTarget)) return true;
    // As the renderer clears: the whole buffer, the colour mapped to its format.
    return SDL_FillRect(surface_, nullptr,
                        SDL_MapRGBA(surface_->format, static_cast<Uint8>(colour >> 16),
                                    static_cast<Uint8>(colour >> 8), static_cast<Uint8>(colour),
                                    static_cast<Uint8>(colour >> 24))) == 0;
}

bool SurfaceDevice::drawPieces(SdlTexture& picture, std::span<const SpritePiece> pieces, std::uint32_t colour,
                               bool blend) {
    const SoftwareCompositor::Target target{static_cast<std::uint32_t*>(surface_->pixels),
                                            surface_->pitch / 4, surface_->w, surface_->h};
    const SoftwareCompositor::Source source{picture.pixels().data(), picture.width(), picture.height()};
    const SoftwareCompositor::Box whole{0, 0, surface_->w, surface_->h};
    bool ok = true;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (SoftwareCompositor::handles(pieces[i], blend)) {
            SoftwareCompositor::copy(target, source, pieces[i], colour, blend, whole);
        } else {
            ok = SdlDevice::drawPieces(picture, pieces.subspan(i, 1), colour, blend) && ok;
            ok = SDL_RenderFlush(renderer()) == 0 && ok;  // drawn before the next direct copy
        }
    }
    return ok;
}

bool SurfaceDevice::present() {
    if (!renderer()) return false;
    if (!window_) return true;
    SDL_RenderFlush(renderer());
    bool ok = false;
    if (SDL_Surface* out = SDL_GetWindowSurface(window_)) {
        SDL_Rect area;
        presentArea(out->w, out->h, surface_->w, surface_->h, keepAspect_, area);
        // Black bars where the picture does not reach; a plain copy when the sizes agree.
        if (area.w != out->w || area.h != out->h)
            SDL_FillRect(out, nullptr, SDL_MapRGB(out->format, 0, 0, 0));
        if (area.w == surface_->w && area.h == surface_->h) {
            ok = SDL_BlitSurface(surface_, nullptr, out, &area) == 0;
        } else {
            ok = SDL_BlitScaled(surface_, nullptr, out, &area) == 0;
        }
        ok = SDL_UpdateWindowSurface(window_) == 0 && ok;
    }
    if (pacer_) pacer_->wait();
    return ok;
}

}  // namespace qa::platform::gfx
