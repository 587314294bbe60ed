// Null devices.
#include "platform/gfx/null/NullGraphics.h"

#include "platform/gfx/null/NullDevice.h"

namespace qa::platform::gfx {

Device* NullGraphics::createDevice(int, DeviceType, window::Window*, std::uint32_t,
                                   const PresentParameters&) {
    return new NullDevice();
}

}  // namespace qa::platform::gfx
