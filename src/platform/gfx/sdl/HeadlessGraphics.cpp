// Headless device requests.
#include "platform/gfx/sdl/HeadlessGraphics.h"

#include <algorithm>

#include "platform/gfx/sdl/SurfaceDevice.h"

namespace qa::platform::gfx {

std::unique_ptr<Device> HeadlessGraphics::createDevice(int, DeviceType, window::GameWindow*, std::uint32_t,
                                                       const PresentParameters& parameters) {
    auto side = [](std::uint32_t asked, int fallback) {
        return asked == 0 ? fallback : static_cast<int>(std::min<std::uint32_t>(asked, 16384));
    };
    return SurfaceDevice::create(side(parameters.backBufferWidth, 1024),
                                 side(parameters.backBufferHeight, 768));
}

}  // namespace qa::platform::gfx
