// Devices without a display: every request gets SDL's software renderer over a back buffer in
// memory, which can be read back (the runner's screenshots, the drawing tests).
#pragma once

#include "platform/gfx/Graphics.h"

namespace qa::platform::gfx {

class HeadlessGraphics : public Graphics {
  public:
    std::unique_ptr<Device> createDevice(int adapter, DeviceType type, window::GameWindow* focusWindow,
                                         std::uint32_t behaviourFlags,
                                         const PresentParameters& parameters) override;
    bool failedForMemory() const override { return failedForMemory_; }

  private:
    bool failedForMemory_ = false;
};

}  // namespace qa::platform::gfx
