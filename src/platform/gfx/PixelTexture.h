// A texture whose decoded pixels stay in memory as 32-bit ARGB, so level 0 can be read at any time.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/Texture.h"

namespace qa::platform::gfx {

class PixelTexture : public Texture {
  public:
    PixelTexture(int width, int height, std::uint32_t formatCode, std::vector<std::uint32_t> argb)
        : width_(width), height_(height), format_(formatCode), pixels_(std::move(argb)) {}

    int width() const override { return width_; }
    int height() const override { return height_; }
    std::uint32_t formatCode() const override { return format_; }
    bool lockRect(LockedRect& out) const override;

    const std::vector<std::uint32_t>& pixels() const { return pixels_; }

  private:
    int width_;
    int height_;
    std::uint32_t format_;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace qa::platform::gfx
