// Where a sprite draw lands in whole pixels: source point q (from the source rectangle's top-left)
// lands at ((q - centre + position) x scale) + translation. The source rectangle is clipped to the
// picture and the destination with it, in proportion; mirrored axes are reported as flips; parts far
// outside the view are cut away so that no size overflows.
#pragma once

#include <vector>

#include "common/Matrix.h"
#include "common/Vec3.h"
#include "platform/gfx/Sprite.h"

namespace qa::platform::gfx {

// One copy: a source rectangle of the picture drawn into a destination rectangle, possibly mirrored.
struct SpritePiece {
    int srcX = 0, srcY = 0, srcW = 0, srcH = 0;
    int dstX = 0, dstY = 0, dstW = 0, dstH = 0;
    bool flipX = false;
    bool flipY = false;
};

class SpritePlacement {
  public:
    // Pixels of margin kept around the view when cutting away what cannot be seen.
    static constexpr int kMargin = 2;

    // The copies that draw `source` (the whole picture when null) of a picture of the given size with
    // the sprite centre and position (origin when null) and the transform's scale (m[0][0], m[1][1])
    // and translation (m[3][0], m[3][1]). A pixel is covered when its centre lies inside the
    // destination. Empty when nothing would be visible in a view of viewWidth x viewHeight.
    static std::vector<SpritePiece> place(int textureWidth, int textureHeight, const Rect* source,
                                          const Vec3* centre, const Vec3* position, const Matrix& transform,
                                          int viewWidth, int viewHeight);
    // The same into `pieces` (replacing what it held), so that a caller can keep its storage.
    static void place(int textureWidth, int textureHeight, const Rect* source, const Vec3* centre,
                      const Vec3* position, const Matrix& transform, int viewWidth, int viewHeight,
                      std::vector<SpritePiece>& pieces);
};

}  // namespace qa::platform::gfx
