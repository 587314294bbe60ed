// A picture on the device, shared by whoever holds it; its decoded pixels kept so level 0 can be read.
#pragma once

#include <cstdint>
#include <memory>

namespace qa::platform::gfx {

// Surface format codes as the system tests them.
enum FormatCode : std::uint32_t {
    kFormatA8R8G8B8 = 21,
    kFormatX8R8G8B8 = 22,
    kFormatR5G6B5 = 23,
    kFormatA1R5G5B5 = 25,
    kFormatA4R4G4B4 = 26,
};

struct LockedRect {
    int pitch = 0;  // bytes per row
    const std::uint8_t* bits = nullptr;
};

class Texture {
  public:
    virtual ~Texture() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;
    // The surface format code of level 0.
    virtual std::uint32_t formatCode() const = 0;
    // Level 0 for reading: 4 bytes per pixel (B, G, R, A in memory) unless the format says 2.
    virtual bool lockRect(LockedRect& out) const = 0;
    virtual void unlockRect() const {}
};

// A texture held by everyone who draws it; it goes when the last holder lets go.
using SharedTexture = std::shared_ptr<Texture>;

}  // namespace qa::platform::gfx
