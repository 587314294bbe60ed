// The drawing device: clears and presents a 1024 x 768 back buffer and makes the textures, the
// font and the sprite that draw into it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/ImageInfo.h"

namespace qa::platform {
class FileSource;
}

namespace qa::platform::gfx {

class Texture;
class Font;
class Sprite;

constexpr std::uint32_t kClearTarget = 1;
constexpr std::uint32_t kClearZBuffer = 2;
constexpr std::uint32_t kClearStencil = 4;
constexpr std::uint32_t kRenderStateMultisampleAntialias = 161;

struct FontDescription {
    int height = 12;
    int width = 6;
    int weight = 500;
    int mipLevels = 4;
    bool italic = false;
    int charSet = 0;
    int outputPrecision = 4;
    int quality = 0;
    int pitchAndFamily = 32;
    std::string faceName = "Arial";
};

class Device {
  public:
    virtual ~Device() = default;
    virtual bool setRenderState(std::uint32_t state, std::uint32_t value) = 0;
    virtual bool clear(std::uint32_t flags, std::uint32_t colour, float z, std::uint32_t stencil) = 0;
    virtual bool beginScene() = 0;
    virtual bool endScene() = 0;
    virtual bool present() = 0;

    // A texture from a picture file of `files`, and the file's information; null on failure.
    virtual std::shared_ptr<Texture> createTextureFromFile(FileSource& files, const std::string& windowsPath,
                                                           ImageInfo& info) = 0;
    // A texture made from 32-bit ARGB pixels (row by row); null on failure.
    virtual std::shared_ptr<Texture> createTextureFromPixels(int width, int height,
                                                             std::vector<std::uint32_t> argb) = 0;
    virtual std::unique_ptr<Font> createFont(const FontDescription& description) = 0;
    virtual std::unique_ptr<Sprite> createSprite() = 0;

    // The back buffer as 32-bit ARGB pixels (row by row); false when the device keeps no pixels.
    virtual bool readBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) = 0;
    // Whether the device draws pixels for the frames that follow (a device may skip pixel work for
    // frames nobody looks at).
    virtual void setPixelsWanted(bool wanted) { (void)wanted; }
};

}  // namespace qa::platform::gfx
