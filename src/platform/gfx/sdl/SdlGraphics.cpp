// Device requests on the application window.
#include "platform/gfx/sdl/SdlGraphics.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/gfx/sdl/SurfaceDevice.h"
#include "platform/gfx/sdl/WindowDevice.h"
#include "platform/window/GameWindow.h"

namespace qa::platform::gfx {

namespace {
int side(std::uint32_t asked, int fallback) {
    return asked == 0 ? fallback : static_cast<int>(std::min<std::uint32_t>(asked, 16384));
}
}  // namespace

std::unique_ptr<Device> SdlGraphics::createDevice(int adapter, DeviceType type,
                                                  window::GameWindow* focusWindow,
                                                  std::uint32_t behaviourFlags,
                                                  const PresentParameters& parameters) {
    SDL_ClearError();
    failedForMemory_ = false;
    std::unique_ptr<Device> device;
    try {
        device = request(adapter, type, focusWindow, behaviourFlags, parameters);
    } catch (const std::bad_alloc&) {
        failedForMemory_ = true;
        return nullptr;
    }
    if (!device) failedForMemory_ = std::strcmp(SDL_GetError(), "Out of memory") == 0;
    return device;
}

std::unique_ptr<Device> SdlGraphics::request(int, DeviceType type, window::GameWindow* focusWindow,
                                             std::uint32_t, const PresentParameters& parameters) {
    auto* window = focusWindow ? static_cast<SDL_Window*>(focusWindow->nativeHandle()) : nullptr;
    if (!window) return nullptr;
    const int w = side(parameters.backBufferWidth, 1024);
    const int h = side(parameters.backBufferHeight, 768);
    const bool keepAspect = parameters.windowed == 0;
    if (type == DeviceType::Hardware) {
        if (options_.refuseAccelerated) return nullptr;
        return WindowDevice::create(window, w, h, keepAspect, options_.waitForRetrace,
                                    options_.acceptSoftwareRasteriser, options_.scale);
    }
    return SurfaceDevice::create(w, h, window, keepAspect, options_.waitForRetrace, options_.scale);
}

}  // namespace qa::platform::gfx
