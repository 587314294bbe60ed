// A scene of pictures (opaque and half-transparent texels) and text items, changed at random frame
// after frame as scripts change scenes: moves, fades, scrolls, raises, hides, scale changes, text.
#pragma once

#include <random>
#include <vector>

#include "support/DrawingScene.h"

namespace qa::scene {
class ImageItem;
}

namespace qa::test {

class RandomScene {
  public:
    // Twelve items over four pictures saved into the drawing's disk, placed from `seed`.
    RandomScene(DrawingScene& drawing, unsigned seed);
    // Up to two changes (none on some frames).
    void change(int frame);

  private:
    std::mt19937 rng_;
    std::vector<scene::ImageItem*> items_;
};

}  // namespace qa::test
