// Devices on SDL's renderer in the application window: the accelerated renderer for the hardware
// requests, the software renderer for the reference request.
#pragma once

#include "platform/gfx/Graphics.h"

namespace qa::platform::gfx {

class SdlGraphics : public Graphics {
  public:
    Device* createDevice(int adapter, DeviceType type, window::Window* focusWindow,
                         std::uint32_t behaviourFlags, const PresentParameters& parameters) override;
};

}  // namespace qa::platform::gfx
