// Sprite copies changed at random frame after frame.
#include "support/RandomCopies.h"

#include <utility>

#include "common/Matrix.h"
#include "common/Vec3.h"

namespace qa::test {

using platform::gfx::Rect;

RandomCopies::RandomCopies(std::mt19937& rng, int count, int pictureCount, int width, int height)
    : pictureCount_(pictureCount) {
    for (int i = 0; i < count; ++i) {
        const auto picture = static_cast<int>(rng() % static_cast<unsigned>(pictureCount));
        const float x = static_cast<float>(rng() % static_cast<unsigned>(width + 16)) - 10;
        const float y = static_cast<float>(rng() % static_cast<unsigned>(height + 12)) - 10;
        copies_.push_back({picture, x, y, 1, 1, 0xFFFFFFFFu, true});
    }
}

void RandomCopies::change(std::mt19937& rng) {
    const int changes = static_cast<int>(rng() % 4);
    for (int k = 0; k < changes; ++k) {
        Copy& c = copies_[rng() % copies_.size()];
        switch (rng() % 7) {
            case 0:
                c.x += static_cast<float>(rng() % 21) - 10;
                break;
            case 1:
                c.y += static_cast<float>(rng() % 21) - 10;
                break;
            case 2:
                c.colour = (rng() % 2 ? 0xFF000000u : (rng() & 0xFF000000u)) | (rng() & 0xFFFFFFu);
                break;
            case 3:
                c.shown = !c.shown;
                break;
            case 4:
                // Smoothed and cut through by the rectangles drawn again; mirrored one time in four.
                c.sx = (rng() % 4 == 0 ? -1.0f : 1.0f) * (0.37f + static_cast<float>(rng() % 40) / 13);
                c.sy = 0.41f + static_cast<float>(rng() % 40) / 11;
                break;
            case 5:
                std::swap(c, copies_[rng() % copies_.size()]);  // order
                break;
            default:
                c.picture = static_cast<int>(rng() % static_cast<unsigned>(pictureCount_));
                break;
        }
    }
}

void RandomCopies::draw(platform::gfx::Sprite& sprite,
                        const std::vector<std::shared_ptr<platform::gfx::Texture>>& pictures,
                        bool inset) const {
    for (const Copy& c : copies_) {
        if (!c.shown) continue;
        const Vec3 s{c.sx, c.sy, 1}, at{c.x, c.y, 0};
        sprite.setTransform(Matrix::transformation(&s, &at));
        platform::gfx::Texture* picture = pictures[static_cast<std::size_t>(c.picture)].get();
        const Rect source{1, 1, picture->width(), picture->height()};
        sprite.draw(picture, inset ? &source : nullptr, nullptr, nullptr, c.colour);
    }
}

}  // namespace qa::test
