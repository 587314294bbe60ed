// The accelerated device.
#include "platform/gfx/sdl/WindowDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>

#include "platform/gfx/FilteredScaler.h"
#include "platform/gfx/GraphicsHardware.h"
#include "platform/gfx/sdl/SdlTexture.h"

namespace qa::platform::gfx {

namespace {

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// The OpenGL renderer string of the current context, empty when there is none.
std::string glRendererName() {
    using GetString = const unsigned char* (*)(unsigned);
    if (!SDL_GL_GetCurrentContext()) return {};
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (!getString) return {};
    const unsigned char* s = getString(kGlRenderer);
    return s ? reinterpret_cast<const char*>(s) : std::string();
}

}  // namespace

bool WindowDevice::isSoftwareRasteriser(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("llvmpipe") != std::string::npos || lower.find("softpipe") != std::string::npos ||
           lower.find("swrast") != std::string::npos;
}

std::unique_ptr<WindowDevice> WindowDevice::create(SDL_Window* window, int width, int height, bool keepAspect,
                                                   bool waitForRetrace, bool acceptSoftwareRasteriser,
                                                   ScaleMode scale) {
    if (!window || width <= 0 || height <= 0) return nullptr;
    if (!acceptSoftwareRasteriser && !GraphicsHardware::present()) return nullptr;
    const Uint32 flags = SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE |
                         (waitForRetrace ? Uint32{SDL_RENDERER_PRESENTVSYNC} : Uint32{0});
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, flags);
    if (!renderer) return nullptr;
    SDL_RendererInfo info;
    bool usable = SDL_GetRendererInfo(renderer, &info) == 0 && (info.flags & SDL_RENDERER_ACCELERATED) &&
                  (info.flags & SDL_RENDERER_TARGETTEXTURE) &&
                  (acceptSoftwareRasteriser || !isSoftwareRasteriser(info.name));
    if (usable && !acceptSoftwareRasteriser && std::string(info.name).rfind("opengl", 0) == 0)
        usable = !isSoftwareRasteriser(glRendererName());
    SDL_Texture* target = nullptr;
    if (usable) {
        target =
            SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
        usable = target && SDL_SetRenderTarget(renderer, target) == 0;
    }
    if (!usable) {
        if (target) SDL_DestroyTexture(target);
        SDL_DestroyRenderer(renderer);
        return nullptr;
    }
    // The back buffer is stretched smoothly onto the window, and replaces what is there.
    SDL_SetTextureScaleMode(target, SDL_ScaleModeLinear);
    SDL_SetTextureBlendMode(target, SDL_BLENDMODE_NONE);
    auto device = std::unique_ptr<WindowDevice>(
        new WindowDevice(renderer, target, window, width, height, keepAspect,
                         (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0, waitForRetrace));
    device->scale_ = scale;
    return device;
}

WindowDevice::WindowDevice(SDL_Renderer* renderer, SDL_Texture* target, SDL_Window* window, int width,
                           int height, bool keepAspect, bool vsync, bool paced)
    : SdlDevice(renderer, width, height), target_(target), window_(window), keepAspect_(keepAspect) {
    // With the retrace waited for, the pacer only catches drivers that do not really wait; presents
    // left out wait a whole refresh interval.
    if (paced) {
        pacer_ = std::make_unique<FramePacer>(window, vsync ? 0.5 : 1.0);
        idlePacer_ = std::make_unique<FramePacer>(window, 1.0);
    }
    SDL_SetRenderTarget(renderer, nullptr);
    SDL_GetRendererOutputSize(renderer, &outputWidth_, &outputHeight_);
    SDL_AddEventWatch(&WindowDevice::watchEvents, this);
}

WindowDevice::~WindowDevice() {
    SDL_DelEventWatch(&WindowDevice::watchEvents, this);
    for (SDL_Texture* t : orphans_) SDL_DestroyTexture(t);
    orphans_.clear();
    if (check_) SDL_DestroyTexture(check_);
    check_ = nullptr;
    if (enlarged_) SDL_DestroyTexture(enlarged_);
    enlarged_ = nullptr;
    if (target_) SDL_DestroyTexture(target_);
    target_ = nullptr;
    releaseRenderer();
}

int WindowDevice::watchEvents(void* device, SDL_Event* event) {
    auto* self = static_cast<WindowDevice*>(device);
    switch (event->type) {
        case SDL_RENDER_TARGETS_RESET:
            self->targetsLost_ = true;
            break;
        case SDL_RENDER_DEVICE_RESET:
            self->deviceLost_ = true;
            break;
        case SDL_WINDOWEVENT:
            if (windowLosesItsPicture(*event, self->window_)) self->spoiled_ = true;
            break;
        default:
            break;
    }
    return 0;
}

bool WindowDevice::clear(std::uint32_t flags, std::uint32_t colour, float, std::uint32_t) {
    SDL_Renderer* r = renderer();
    if (!r) return false;
    if (deviceLost_.exchange(false)) {
        // Every texture's pixels are gone: pictures upload again when next drawn, the back buffer
        // is made again and drawn in full.
        for (SDL_Texture* t : orphans_) SDL_DestroyTexture(t);
        orphans_.clear();
        uploadAgain();
        if (check_) SDL_DestroyTexture(check_);
        check_ = nullptr;
        if (enlarged_) SDL_DestroyTexture(enlarged_);
        enlarged_ = nullptr;
        SDL_DestroyTexture(target_);
        target_ = SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width(), height());
        if (target_) {
            SDL_SetTextureScaleMode(target_, SDL_ScaleModeLinear);
            SDL_SetTextureBlendMode(target_, SDL_BLENDMODE_NONE);
        }
        recorder().reset();
        textureHolds_ = windowHolds_ = shown_ = false;
    }
    if (!pixelsWanted() || !(flags & kClearTarget)) return true;
    recorder().clear(colour);
    return true;
}

bool WindowDevice::drawPieces(SdlTexture& picture, std::span<const SpritePiece> pieces, std::uint32_t colour,
                              bool blend) {
    // Uploaded now, as the picture is drawn; the copies keep the renderer's texture.
    SDL_Texture* t = picture.sdlTexture();
    if (!t) return false;
    DrawList::Copy copy;
    copy.picture = picture.serial();
    copy.colour = colour;
    copy.blend = blend;
    copy.handle = t;
    recorder().add(copy, pieces);
    return true;
}

void WindowDevice::forget(SdlTexture* texture) {
    // A picture freed while a frame that still may be drawn copies it: its renderer texture stays
    // until no such frame is left.
    SDL_Texture* t = texture->uploaded();
    if (t && (recorder().uses(t) || recorder().lastUses(t))) orphans_.push_back(texture->takeUpload());
    SdlDevice::forget(texture);
}

void WindowDevice::dropOrphans() {
    for (std::size_t i = 0; i < orphans_.size();) {
        if (recorder().lastUses(orphans_[i])) {
            ++i;
            continue;
        }
        SDL_DestroyTexture(orphans_[i]);
        orphans_[i] = orphans_.back();
        orphans_.pop_back();
    }
}

void WindowDevice::noteChanges() {
    SDL_Renderer* r = renderer();
    if (targetsLost_.exchange(false)) textureHolds_ = shown_ = false;
    if (spoiled_.exchange(false)) shown_ = false;
    if (framesSinceShown_ >= kRefreshFrames) shown_ = false;
    // A window of another size: shown again, and (as a renderer may remake its targets then) the
    // texture drawn in full.
    if (SDL_GetRenderTarget(r)) SDL_SetRenderTarget(r, nullptr);
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(r, &ow, &oh);
    if (ow != outputWidth_ || oh != outputHeight_) {
        outputWidth_ = ow;
        outputHeight_ = oh;
        textureHolds_ = windowHolds_ = shown_ = false;
    }
}

bool WindowDevice::draw(SDL_Texture* into, const DrawList& frame, bool cleared, std::uint32_t clearColour,
                        const std::vector<DrawList::Box>* boxes) {
    SDL_Renderer* r = renderer();
    bool ok = SDL_SetRenderTarget(r, into) == 0;
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(r, static_cast<Uint8>(clearColour >> 16), static_cast<Uint8>(clearColour >> 8),
                           static_cast<Uint8>(clearColour), static_cast<Uint8>(clearColour >> 24));
    const int w = width(), h = height();
    // Copies in order; a picture's modulation is set again only when it changes.
    auto copies = [&](const DrawList::Box* box) {
        SDL_Texture* set = nullptr;
        std::uint32_t setColour = 0;
        bool setBlend = false;
        for (const DrawList::Copy& c : frame.copies()) {
            auto* t = static_cast<SDL_Texture*>(c.handle);
            if (!t || (box && !DrawList::intersects(c.bounds(w, h), *box))) continue;
            if (t != set || c.colour != setColour || c.blend != setBlend) {
                modulate(t, c.colour, c.blend);
                set = t, setColour = c.colour, setBlend = c.blend;
            }
            ok = copyPiece(t, c.piece) && ok;
        }
    };
    if (!boxes) {
        if (cleared) ok = SDL_RenderClear(r) == 0 && ok;
        copies(nullptr);
        return ok;
    }
    // Clipping leaves each copy's sampling as it is: inside the box, the pixels come out as the
    // whole copy gives them. The renderer's clear ignores the clip, so the box is filled instead.
    for (const DrawList::Box& b : *boxes) {
        const SDL_Rect rect{b.left, b.top, b.right - b.left, b.bottom - b.top};
        ok = SDL_RenderSetClipRect(r, &rect) == 0 && ok;
        ok = SDL_RenderFillRect(r, &rect) == 0 && ok;
        copies(&b);
    }
    ok = SDL_RenderSetClipRect(r, nullptr) == 0 && ok;
    return ok;
}

bool WindowDevice::flush() {
    FrameRecorder& frame = recorder();
    if (!frame.pending()) return true;
    if (!target_) return false;
    noteChanges();
    const int w = width(), h = height();
    const bool compared = frame.compare(w, h);
    bool partial = false;
    bool ok = true;
    if (compared && frame.damage().empty()) {
        // The same frame again: whatever held the previous one holds it. Only a window that lost
        // its picture needs it drawn again (where nothing holds it any more).
        partial = true;
        lastDrawn_ = Drawn::Nothing;
        if (!shown_ && !textureHolds_ && !windowHolds_) {
            ok = draw(target_, frame.frame(), true, frame.clearValue(), nullptr);
            textureHolds_ = true;
            lastDrawn_ = Drawn::Texture;
        }
    } else {
        shown_ = false;
        long area = 0;
        if (compared) {
            for (const DrawList::Box& b : frame.damage()) area += long{b.right - b.left} * (b.bottom - b.top);
        }
        const bool direct = outputWidth_ == w && outputHeight_ == h;
        // A frame drawn over the one before (no clear) goes into the texture, which then keeps
        // what it drew over for the frames after it.
        const bool toWindow = direct && frame.cleared() && !(compared && area * 2 <= long{w} * h);
        if (toWindow) {
            ok = draw(nullptr, frame.frame(), frame.cleared(), frame.clearValue(), nullptr);
            windowHolds_ = true;
            textureHolds_ = false;
            lastDrawn_ = Drawn::Window;
        } else {
            if (!frame.cleared() && !textureHolds_) {
                // The frame it is drawn over went straight into the window: drawn into the texture
                // first.
                ok = draw(target_, frame.last(), frame.lastCleared(), frame.lastClearValue(), nullptr);
            }
            partial = compared && textureHolds_;
            ok = draw(target_, frame.frame(), frame.cleared(), frame.clearValue(),
                      partial ? &frame.damage() : nullptr);
            textureHolds_ = true;
            windowHolds_ = false;
            lastDrawn_ = Drawn::Texture;
        }
    }
    if (frame.verifying() && partial && textureHolds_) verify();
    frame.finish(partial, w, h);
    dropOrphans();
    return ok;
}

bool WindowDevice::read(SDL_Texture* from, std::vector<std::uint32_t>& argb) {
    SDL_Renderer* r = renderer();
    argb.resize(static_cast<std::size_t>(width()) * static_cast<std::size_t>(height()));
    return SDL_SetRenderTarget(r, from) == 0 &&
           SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, argb.data(), width() * 4) == 0;
}

void WindowDevice::verify() {
    SDL_Renderer* r = renderer();
    if (!check_) {
        check_ = SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width(), height());
        if (!check_) return;
    }
    // The same frame in full, into a texture of its own; the recorder still compares with the frame
    // before.
    const FrameRecorder& frame = recorder();
    draw(check_, frame.frame(), true, frame.clearValue(), nullptr);
    if (!read(target_, verifyA_) || !read(check_, verifyB_)) return;
    recorder().check(verifyA_.data(), width(), verifyB_.data(), width(), width(), height());
}

bool WindowDevice::endScene() {
    if (!renderer()) return false;
    const bool drawn = flush();
    return SdlDevice::endScene() && drawn;
}

bool WindowDevice::readBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) {
    if (!renderer() || !target_) return false;
    flush();
    if (!windowHolds_ && !textureHolds_) {
        // Presented from the window's buffer, which keeps nothing: drawn again into the texture.
        const FrameRecorder& frame = recorder();
        draw(target_, frame.last(), frame.lastCleared(), frame.lastClearValue(), nullptr);
        textureHolds_ = true;
    }
    const bool ok = read(windowHolds_ ? nullptr : target_, argb);
    SDL_SetRenderTarget(renderer(), nullptr);
    if (!ok) return false;
    width = this->width();
    height = this->height();
    return true;
}

bool WindowDevice::copyToWindow(const SDL_Rect& area) {
    SDL_Renderer* r = renderer();
    const int w = width(), h = height();
    // Unscaled, in the pixel mode and at a whole multiple of the size: each pixel as it is.
    if (!FilteredScaler::filters(scale_, w, h, area.w, area.h)) {
        SDL_SetTextureScaleMode(target_, SDL_ScaleModeNearest);
        return SDL_RenderCopy(r, target_, nullptr, &area) == 0;
    }
    const int fx = (area.w + w - 1) / w, fy = (area.h + h - 1) / h;
    if (scale_ == ScaleMode::Sharp && (fx > 1 || fy > 1)) {
        int ew = 0, eh = 0;
        if (enlarged_ &&
            (SDL_QueryTexture(enlarged_, nullptr, nullptr, &ew, &eh) != 0 || ew != fx * w || eh != fy * h)) {
            SDL_DestroyTexture(enlarged_);
            enlarged_ = nullptr;
        }
        if (!enlarged_) {
            enlarged_ =
                SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, fx * w, fy * h);
            if (enlarged_) {
                SDL_SetTextureScaleMode(enlarged_, SDL_ScaleModeLinear);
                SDL_SetTextureBlendMode(enlarged_, SDL_BLENDMODE_NONE);
            }
        }
        if (enlarged_) {
            // Blocks of whole pixels first; only their edges are mixed on the way down.
            SDL_SetTextureScaleMode(target_, SDL_ScaleModeNearest);
            bool ok = SDL_SetRenderTarget(r, enlarged_) == 0;
            ok = ok && SDL_RenderCopy(r, target_, nullptr, nullptr) == 0;
            ok = SDL_SetRenderTarget(r, nullptr) == 0 && ok;
            if (ok) return SDL_RenderCopy(r, enlarged_, nullptr, &area) == 0;
        }
    }
    SDL_SetTextureScaleMode(target_, SDL_ScaleModeLinear);
    return SDL_RenderCopy(r, target_, nullptr, &area) == 0;
}

bool WindowDevice::present() {
    SDL_Renderer* r = renderer();
    if (!r) return false;
    const bool drawn = flush();
    ++framesSinceShown_;
    skipped_ = shown_ || (!windowHolds_ && !textureHolds_);
    if (skipped_) {
        // The window shows this frame already (or there is none to show).
        if (idlePacer_) idlePacer_->wait();
        return drawn;
    }
    bool ok = SDL_SetRenderTarget(r, nullptr) == 0 && drawn;
    if (!windowHolds_) {
        SDL_Rect area;
        presentArea(outputWidth_, outputHeight_, width(), height(), keepAspect_, area);
        // Black bars where the picture does not reach (the window's buffer holds nothing after a
        // present); a copy of the same size samples each pixel as it is.
        if (area.w != outputWidth_ || area.h != outputHeight_) {
            // Only the bars: the picture covers the rest.
            const SDL_Rect bars[] = {{0, 0, area.x, outputHeight_},
                                     {area.x + area.w, 0, outputWidth_ - area.x - area.w, outputHeight_},
                                     {area.x, 0, area.w, area.y},
                                     {area.x, area.y + area.h, area.w, outputHeight_ - area.y - area.h}};
            SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
            SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
            ok = SDL_RenderFillRects(r, bars, 4) == 0 && ok;
        }
        ok = copyToWindow(area) && ok;
    }
    SDL_RenderPresent(r);
    windowHolds_ = false;
    shown_ = true;
    framesSinceShown_ = 0;
    if (pacer_) pacer_->wait();
    if (idlePacer_) idlePacer_->restart();
    return ok;
}

}  // namespace qa::platform::gfx
