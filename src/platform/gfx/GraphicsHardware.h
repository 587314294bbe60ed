// Whether the machine has a graphics device that an accelerated OpenGL driver could drive. Without
// one, OpenGL can only be a software rasteriser, which the accelerated device refuses anyway; just
// asking would load that rasteriser (some 60 MB of resident code) for nothing.
#pragma once

#include <filesystem>

namespace qa::platform::gfx {

class GraphicsHardware {
  public:
    // Looked up once per process under /dev.
    static bool present();
    // The same look-up under another device folder: a DRM node (dri/card*, dri/renderD*), the
    // NVIDIA driver's device (nvidia0, nvidiactl) or the Windows Subsystem for Linux's GPU (dxg).
    static bool presentUnder(const std::filesystem::path& devices);
};

}  // namespace qa::platform::gfx
