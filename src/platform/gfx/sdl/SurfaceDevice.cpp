// The software renderer over a memory back buffer.
#include "platform/gfx/sdl/SurfaceDevice.h"

#include <SDL.h>

#include "platform/gfx/BoxScaler.h"
#include "platform/gfx/FilteredScaler.h"
#include "platform/gfx/SoftwareCompositor.h"
#include "platform/gfx/sdl/SdlTexture.h"

namespace qa::platform::gfx {

std::unique_ptr<SurfaceDevice> SurfaceDevice::create(int width, int height, SDL_Window* window,
                                                     bool keepAspect, bool paced, ScaleMode scale) {
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
    auto device =
        std::unique_ptr<SurfaceDevice>(new SurfaceDevice(renderer, surface, window, keepAspect, paced));
    device->scale_ = scale;
    return device;
}

SurfaceDevice::SurfaceDevice(SDL_Renderer* renderer, SDL_Surface* surface, SDL_Window* window,
                             bool keepAspect, bool paced)
    : SdlDevice(renderer, surface->w, surface->h),
      surface_(surface),
      window_(window),
      keepAspect_(keepAspect) {
    SDL_SetSurfaceBlendMode(surface_, SDL_BLENDMODE_NONE);
    if (window_ && paced) pacer_ = std::make_unique<FramePacer>(window_, 1.0);
    if (window_) SDL_AddEventWatch(&SurfaceDevice::watchWindow, this);
}

SurfaceDevice::~SurfaceDevice() {
    if (window_) SDL_DelEventWatch(&SurfaceDevice::watchWindow, this);
    releaseRenderer();
    SDL_FreeSurface(surface_);
}

int SurfaceDevice::watchWindow(void* device, SDL_Event* event) {
    auto* self = static_cast<SurfaceDevice*>(device);
    if (windowLosesItsPicture(*event, self->window_)) self->spoiled_ = true;
    return 0;
}

bool SurfaceDevice::clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t) {
    if (!renderer()) return false;
    if (!pixelsWanted() || !(flags & kClearTarget)) return true;
    // As the renderer clears: the whole buffer, the colour mapped to its format. Whatever the frame
    // drew before is wiped with it.
    recorder().clear(SDL_MapRGBA(surface_->format, static_cast<Uint8>(colour >> 16),
                                 static_cast<Uint8>(colour >> 8), static_cast<Uint8>(colour),
                                 static_cast<Uint8>(colour >> 24)));
    kept_.clear();
    return true;
}

bool SurfaceDevice::drawPieces(SdlTexture& picture, std::span<const SpritePiece> pieces, std::uint32_t colour,
                               bool blend) {
    DrawList::Copy copy;
    copy.picture = picture.serial();
    copy.colour = colour;
    copy.blend = blend;
    copy.source = {picture.pixels().data(), picture.width(), picture.height()};
    copy.handle = &picture;
    recorder().add(copy, pieces);
    return true;
}

void SurfaceDevice::forget(SdlTexture* texture) {
    // Copies of a picture freed before the frame is drawn draw from a kept copy of its pixels.
    if (recorder().uses(texture)) {
        kept_.push_back(texture->pixels());
        recorder().replace(texture, kept_.back().data(), nullptr);
    }
    SdlDevice::forget(texture);
}

void SurfaceDevice::fill(const DrawList::Box& box, std::uint32_t pixel) {
    const SDL_Rect r{box.left, box.top, box.right - box.left, box.bottom - box.top};
    SDL_FillRect(surface_, &r, pixel);
}

bool SurfaceDevice::drawCopies(const DrawList::Box& box) {
    const SoftwareCompositor::Target target{static_cast<std::uint32_t*>(surface_->pixels),
                                            surface_->pitch / 4, surface_->w, surface_->h};
    const bool whole = box.left == 0 && box.top == 0 && box.right == surface_->w && box.bottom == surface_->h;
    bool ok = true;
    for (const DrawList::Copy& c : recorder().frame().copies()) {
        if (!whole && !DrawList::intersects(c.bounds(surface_->w, surface_->h), box)) continue;
        if (SoftwareCompositor::handles(c.piece, c.blend)) {
            SoftwareCompositor::copy(target, c.source, c.piece, c.colour, c.blend, box);
        } else if (c.handle) {
            // Only ever drawn whole (a frame with such a copy is drawn in full).
            ok = SdlDevice::drawPieces(*static_cast<SdlTexture*>(c.handle), std::span(&c.piece, 1), c.colour,
                                       c.blend) &&
                 ok;
            ok = SDL_RenderFlush(renderer()) == 0 && ok;  // drawn before the next direct copy
        }
    }
    return ok;
}

void SurfaceDevice::flush() {
    FrameRecorder& frame = recorder();
    if (!frame.pending()) return;
    const DrawList::Box whole{0, 0, surface_->w, surface_->h};
    // Copies the compositor leaves to SDL's renderer cannot be drawn clipped: such frames are drawn
    // in full.
    bool partial = true;
    for (const DrawList::Copy& c : frame.frame().copies()) {
        if (!partial) break;
        partial = SoftwareCompositor::handles(c.piece, c.blend);
    }
    partial = partial && frame.compare(surface_->w, surface_->h);
    if (partial) {
        for (const DrawList::Box& box : frame.damage()) {
            fill(box, frame.clearValue());
            drawCopies(box);
            DrawList::addBox(presentBoxes_, box);
        }
    } else {
        if (frame.cleared()) fill(whole, frame.clearValue());
        drawCopies(whole);
        presentAll_ = true;
    }
    if (frame.verifying() && partial) verify();
    frame.finish(partial, surface_->w, surface_->h);
    kept_.clear();
}

void SurfaceDevice::verify() {
    const int w = surface_->w, h = surface_->h, pitch = surface_->pitch / 4;
    const auto* pixels = static_cast<const std::uint32_t*>(surface_->pixels);
    verifyPixels_.assign(pixels, pixels + static_cast<std::size_t>(pitch) * static_cast<std::size_t>(h));
    // The same frame in full, over the same buffer; the recorder still compares with the frame before.
    fill({0, 0, w, h}, recorder().clearValue());
    drawCopies({0, 0, w, h});
    recorder().check(verifyPixels_.data(), pitch, pixels, pitch, w, h);
}

bool SurfaceDevice::endScene() {
    if (!renderer()) return false;
    flush();
    return SdlDevice::endScene();
}

bool SurfaceDevice::readBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) {
    if (renderer()) flush();
    return SdlDevice::readBackBuffer(argb, width, height);
}

bool SurfaceDevice::present() {
    if (!renderer()) return false;
    flush();
    if (!window_) {
        presentBoxes_.clear();
        return true;
    }
    SDL_RenderFlush(renderer());
    bool ok = false;
    if (SDL_Surface* out = SDL_GetWindowSurface(window_)) {
        SDL_Rect area;
        presentArea(out->w, out->h, surface_->w, surface_->h, keepAspect_, area);
        const bool unscaled = area.w == surface_->w && area.h == surface_->h;
        if (out != shownOn_ || spoiled_.exchange(false) || ++framesSinceFull_ >= kRefreshFrames)
            presentAll_ = true;
        // Scaled in part only where the window's pixels are written as they are; filtered only there.
        const bool scaledInPart = out->format->format == surface_->format->format && !SDL_MUSTLOCK(out);
        if (!unscaled && !scaledInPart) presentAll_ = presentAll_ || !presentBoxes_.empty();
        const bool filtered =
            scaledInPart && FilteredScaler::filters(scale_, surface_->w, surface_->h, area.w, area.h);
        const BoxScaler::Pixels from{static_cast<std::uint32_t*>(surface_->pixels), surface_->pitch / 4,
                                     surface_->w, surface_->h};
        const BoxScaler::Pixels to{static_cast<std::uint32_t*>(out->pixels), out->pitch / 4, out->w, out->h};
        const DrawList::Box whole{area.x, area.y, area.x + area.w, area.y + area.h};
        if (presentAll_) {
            // Black bars where the picture does not reach; a plain copy when the sizes agree.
            if (area.w != out->w || area.h != out->h)
                SDL_FillRect(out, nullptr, SDL_MapRGB(out->format, 0, 0, 0));
            if (unscaled) {
                ok = SDL_BlitSurface(surface_, nullptr, out, &area) == 0;
            } else if (filtered) {
                scaler_.copy(scale_, from, {0, 0, surface_->w, surface_->h}, to, whole);
                ok = true;
            } else {
                ok = SDL_BlitScaled(surface_, nullptr, out, &area) == 0;
            }
            ok = SDL_UpdateWindowSurface(window_) == 0 && ok;
            shownOn_ = out;
            framesSinceFull_ = 0;
        } else if (!presentBoxes_.empty()) {
            // Only what was drawn again; the window holds the rest already.
            std::vector<SDL_Rect> rects;
            rects.reserve(presentBoxes_.size());
            ok = true;
            for (const DrawList::Box& b : presentBoxes_) {
                if (unscaled) {
                    SDL_Rect src{b.left, b.top, b.right - b.left, b.bottom - b.top};
                    SDL_Rect dst{area.x + b.left, area.y + b.top, src.w, src.h};
                    ok = SDL_BlitSurface(surface_, &src, out, &dst) == 0 && ok;
                    rects.push_back({area.x + b.left, area.y + b.top, src.w, src.h});
                } else {
                    const DrawList::Box o = filtered ? scaler_.copy(scale_, from, b, to, whole)
                                                     : BoxScaler::copy(from, b, to, whole);
                    if (o.right > o.left && o.bottom > o.top)
                        rects.push_back({o.left, o.top, o.right - o.left, o.bottom - o.top});
                }
            }
            if (!rects.empty())
                ok = SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size())) ==
                         0 &&
                     ok;
        } else {
            ok = true;  // nothing new to show
        }
    }
    presentBoxes_.clear();
    presentAll_ = false;
    if (pacer_) pacer_->wait();
    return ok;
}

}  // namespace qa::platform::gfx
