// Headless device requests.
#include "platform/gfx/sdl/HeadlessGraphics.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/gfx/sdl/SurfaceDevice.h"

namespace qa::platform::gfx {

std::unique_ptr<Device> HeadlessGraphics::createDevice(int, DeviceType, window::GameWindow*, std::uint32_t,
                                                       const PresentParameters& parameters) {
    auto side = [](std::uint32_t asked, int fallback) {
        return asked == 0 ? fallback : static_cast<int>(std::min<std::uint32_t>(asked, 16384));
    };
    SDL_ClearError();
    failedForMemory_ = false;
    std::unique_ptr<Device> device;
    try {
        device = SurfaceDevice::create(side(parameters.backBufferWidth, 1024),
                                       side(parameters.backBufferHeight, 768));
    } catch (const std::bad_alloc&) {
        failedForMemory_ = true;
        return nullptr;
    }
    if (!device) failedForMemory_ = std::strcmp(SDL_GetError(), "Out of memory") == 0;
    return device;
}

}  // namespace qa::platform::gfx
