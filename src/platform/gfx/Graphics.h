// Makes display devices: hardware-accelerated where there is hardware, or the software reference.
#pragma once

#include <cstdint>
#include <memory>

namespace qa::platform::window {
class GameWindow;
}

namespace qa::platform::gfx {

class Device;

enum class DeviceType { Hardware = 1, Reference = 2 };

// What a device is created for: its back buffer's size (0: the display's own) and whether it
// presents into a window or on the whole display, keeping the picture's proportions.
struct PresentParameters {
    std::uint32_t backBufferWidth = 0;
    std::uint32_t backBufferHeight = 0;
    std::uint8_t windowed = 0;
};

constexpr std::uint32_t kCreateSoftwareVertexProcessing = 0x20;
constexpr std::uint32_t kCreateMixedVertexProcessing = 0x80;

class Graphics {
  public:
    virtual ~Graphics() = default;
    // A new device, or null when this request fails.
    virtual std::unique_ptr<Device> createDevice(int adapter, DeviceType type,
                                                 window::GameWindow* focusWindow,
                                                 std::uint32_t behaviourFlags,
                                                 const PresentParameters& parameters) = 0;
    // Whether the last request failed for want of memory.
    virtual bool failedForMemory() const { return false; }
};

}  // namespace qa::platform::gfx
