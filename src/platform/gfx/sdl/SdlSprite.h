// The sprite on the SDL devices: each draw is placed by the sprite rule (see SpritePlacement), and
// the device copies it at once, modulated by the colour and alpha blended.
#pragma once

#include <vector>

#include "platform/gfx/Sprite.h"
#include "platform/gfx/SpritePlacement.h"

namespace qa::platform::gfx {

class SdlDevice;

class SdlSprite : public Sprite {
  public:
    explicit SdlSprite(SdlDevice& device) : device_(device) {}

    bool begin(std::uint32_t flags) override;
    bool setTransform(const Matrix& transform) override;
    bool draw(Texture* texture, const Rect* source, const Vec3* centre, const Vec3* position,
              std::uint32_t colour) override;
    bool end() override;

    const Matrix& transform() const { return transform_; }

  private:
    SdlDevice& device_;
    Matrix transform_;
    bool blend_ = true;
    std::vector<SpritePiece> pieces_;  // the last draw's copies, kept for their storage
};

}  // namespace qa::platform::gfx
