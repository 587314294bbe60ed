// The accelerated device.
#include "platform/gfx/sdl/WindowDevice.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>

#include "platform/gfx/GraphicsHardware.h"

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
                                                   bool waitForRetrace, bool acceptSoftwareRasteriser) {
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
    // The back buffer is stretched smoothly onto the window.
    SDL_SetTextureScaleMode(target, SDL_ScaleModeLinear);
    std::unique_ptr<WindowDevice> device(new WindowDevice(renderer, target, window, width, height, keepAspect,
                                                          (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0,
                                                          waitForRetrace));
    device->chooseTarget();
    return device;
}

WindowDevice::WindowDevice(SDL_Renderer* renderer, SDL_Texture* target, SDL_Window* window, int width,
                           int height, bool keepAspect, bool vsync, bool paced)
    : SdlDevice(renderer, width, height), target_(target), keepAspect_(keepAspect) {
    // With the retrace waited for, the pacer only catches drivers that do not really wait.
    if (paced) pacer_ = std::make_unique<FramePacer>(window, vsync ? 0.5 : 1.0);
}

WindowDevice::~WindowDevice() {
    if (target_) SDL_DestroyTexture(target_);
    target_ = nullptr;
    releaseRenderer();
}

bool WindowDevice::present() {
    SDL_Renderer* r = renderer();
    if (!r) return false;
    bool ok = true;
    if (!direct_) {
        ok = SDL_SetRenderTarget(r, nullptr) == 0;
        int ow = 0, oh = 0;
        SDL_GetRendererOutputSize(r, &ow, &oh);
        SDL_Rect area;
        presentArea(ow, oh, width(), height(), keepAspect_, area);
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        SDL_RenderClear(r);
        ok = SDL_RenderCopy(r, target_, nullptr, &area) == 0 && ok;
    }
    SDL_RenderPresent(r);
    ok = chooseTarget() && ok;
    if (pacer_) pacer_->wait();
    return ok;
}

bool WindowDevice::chooseTarget() {
    SDL_Renderer* r = renderer();
    bool ok = SDL_GetRenderTarget(r) == nullptr || SDL_SetRenderTarget(r, nullptr) == 0;
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(r, &ow, &oh);
    // A window that shows the back buffer at its own size would get an exact copy of it: the frame
    // is drawn straight into the window then, which saves a full-screen copy per frame (as costly as
    // the drawing itself where a software rasteriser does the work). The back buffer holds no alpha
    // that the copy could show (it is cleared opaque and only blended into), so nothing changes.
    direct_ = ow == width() && oh == height();
    if (!direct_) ok = SDL_SetRenderTarget(r, target_) == 0 && ok;
    return ok;
}

}  // namespace qa::platform::gfx
