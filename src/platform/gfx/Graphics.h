// Makes display devices: hardware-accelerated where there is hardware, or the software reference.
#pragma once

#include <cstdint>
#include <memory>

namespace qa::platform::window {
class Window;
}

namespace qa::platform::gfx {

class Device;

enum class DeviceType { Hardware = 1, Reference = 2 };

// The 14 presentation parameters a device is created with.
struct PresentParameters {
    std::uint32_t backBufferWidth = 0;
    std::uint32_t backBufferHeight = 0;
    std::uint32_t backBufferFormat = 0;  // 0 = the desktop's; 22 = X8R8G8B8; 23 = R5G6B5
    std::uint32_t backBufferCount = 0;
    std::uint32_t multiSampleType = 0;
    std::uint32_t multiSampleQuality = 0;
    std::uint32_t swapEffect = 1;  // discard
    window::Window* deviceWindow = nullptr;
    std::uint8_t windowed = 0;
    std::uint8_t enableAutoDepthStencil = 0;
    std::uint32_t autoDepthStencilFormat = 0;  // 73 D15S1, 75 D24S8, 77 D24X8, 80 D16
    std::uint32_t flags = 0;
    std::uint32_t fullScreenRefreshRate = 0;
    std::uint32_t presentationInterval = 0;  // 0 = wait for one vertical retrace
};

constexpr std::uint32_t kCreateSoftwareVertexProcessing = 0x20;
constexpr std::uint32_t kCreateMixedVertexProcessing = 0x80;

class Graphics {
  public:
    virtual ~Graphics() = default;
    // A new device, or null when this request fails.
    virtual std::unique_ptr<Device> createDevice(int adapter, DeviceType type, window::Window* focusWindow,
                                                 std::uint32_t behaviourFlags,
                                                 const PresentParameters& parameters) = 0;
};

}  // namespace qa::platform::gfx
