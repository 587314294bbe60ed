// Null devices.
#include "platform/gfx/null/NullGraphics.h"

#include "platform/gfx/null/NullDevice.h"

namespace qa::platform::gfx {

std::unique_ptr<Device> NullGraphics::createDevice(int, DeviceType, window::GameWindow*, std::uint32_t,
                                                   const PresentParameters&) {
    return std::make_unique<NullDevice>();
}

}  // namespace qa::platform::gfx
