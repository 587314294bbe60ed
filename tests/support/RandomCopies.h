// Sprite copies of a few pictures changed at random frame after frame: moved, recoloured (opaque and
// translucent), hidden, scaled by uneven factors and mirrored, reordered and given another picture.
// The drawing tests of both window devices draw them each frame in part and compare with the full frame.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "platform/gfx/Sprite.h"
#include "platform/gfx/Texture.h"

namespace qa::test {

class RandomCopies {
  public:
    // `count` copies of pictures 0 .. pictureCount - 1, all shown at scale 1, placed at random over
    // an area `width` x `height` reaching ten pixels past its top-left edges.
    RandomCopies(std::mt19937& rng, int count, int pictureCount, int width, int height);

    // Up to three changes (none on some frames).
    void change(std::mt19937& rng);

    // The shown copies back to front; with `inset`, each takes its picture from (1, 1) on.
    void draw(platform::gfx::Sprite& sprite,
              const std::vector<std::shared_ptr<platform::gfx::Texture>>& pictures, bool inset) const;

  private:
    struct Copy {
        int picture;
        float x, y, sx, sy;
        std::uint32_t colour;
        bool shown;
    };
    std::vector<Copy> copies_;
    int pictureCount_;
};

}  // namespace qa::test
