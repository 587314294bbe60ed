// Draws pictures with a transform: source point q lands at ((q - centre + position) x scale) +
// translation, modulated by a colour, alpha blended.
#pragma once

#include <cstdint>

#include "common/Matrix.h"
#include "common/Vec3.h"

namespace qa::platform::gfx {

class Texture;

struct Rect {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;
};

constexpr std::uint32_t kSpriteAlphaBlend = 16;

class Sprite {
  public:
    virtual ~Sprite() = default;
    virtual bool begin(std::uint32_t flags) = 0;
    virtual bool setTransform(const Matrix& transform) = 0;
    // Draws the source rectangle (the whole picture when null) of the texture; centre and position
    // are optional (origin when null).
    virtual bool draw(Texture* texture, const Rect* source, const Vec3* centre, const Vec3* position,
                      std::uint32_t colour) = 0;
    virtual bool end() = 0;
};

}  // namespace qa::platform::gfx
