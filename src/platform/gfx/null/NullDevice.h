// A device that accepts every call and draws nothing; it still decodes pictures.
#pragma once

#include "platform/gfx/Device.h"

namespace qa::platform::gfx {

class NullDevice : public Device {
  public:
    bool setRenderState(std::uint32_t, std::uint32_t) override { return true; }
    bool clear(std::uint32_t, std::uint32_t, float, std::uint32_t) override { return true; }
    bool beginScene() override { return true; }
    bool endScene() override { return true; }
    bool present() override { return true; }
    std::shared_ptr<Texture> createTextureFromFile(FileSource& files, const std::string& windowsPath,
                                                   ImageInfo& info) override;
    std::shared_ptr<Texture> createTextureFromPixels(int width, int height,
                                                     std::vector<std::uint32_t> argb) override;
    std::unique_ptr<Font> createFont(const FontDescription& description) override;
    std::unique_ptr<Sprite> createSprite() override;
    bool readBackBuffer(std::vector<std::uint32_t>&, int&, int&) override { return false; }
};

}  // namespace qa::platform::gfx
