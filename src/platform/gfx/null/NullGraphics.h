// A graphics stand-in that does all the logic and no pixel work: devices that accept every call.
#pragma once

#include "platform/gfx/Graphics.h"

namespace qa::platform::gfx {

class NullGraphics : public Graphics {
  public:
    std::unique_ptr<Device> createDevice(int adapter, DeviceType type, window::GameWindow* focusWindow,
                                         std::uint32_t behaviourFlags,
                                         const PresentParameters& parameters) override;
};

}  // namespace qa::platform::gfx
