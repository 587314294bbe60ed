// Devices on SDL's renderer in the application window: the accelerated renderer for the hardware
// requests, the software renderer for the reference request.
#pragma once

#include "platform/gfx/Graphics.h"
#include "platform/gfx/ScaleMode.h"

namespace qa::platform::gfx {

class SdlGraphics : public Graphics {
  public:
    // How the devices are made. The defaults are the program's; measurements ask for the others.
    struct Options {
        // False: presents go out at once, neither waiting for the retrace nor paced.
        bool waitForRetrace = true;
        // True: the accelerated renderer is used even where it draws through a software rasteriser.
        bool acceptSoftwareRasteriser = false;
        // True: the hardware requests fail, so the reference device (the software renderer) is used.
        bool refuseAccelerated = false;
        // How full screen shows the picture at the display's size.
        ScaleMode scale = kDefaultScaleMode;
    };

    SdlGraphics() = default;
    explicit SdlGraphics(const Options& options) : options_(options) {}

    std::unique_ptr<Device> createDevice(int adapter, DeviceType type, window::GameWindow* focusWindow,
                                         std::uint32_t behaviourFlags,
                                         const PresentParameters& parameters) override;
    bool failedForMemory() const override { return failedForMemory_; }

  private:
    std::unique_ptr<Device> request(int adapter, DeviceType type, window::GameWindow* focusWindow,
                                    std::uint32_t behaviourFlags, const PresentParameters& parameters);

    bool failedForMemory_ = false;
    Options options_;
};

}  // namespace qa::platform::gfx
