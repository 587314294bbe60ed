// Random scene changes.
#include "support/RandomScene.h"

#include <string>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"

namespace qa::test {

RandomScene::RandomScene(DrawingScene& drawing, unsigned seed) : rng_(seed) {
    scene::SceneState& scene = drawing.scene();
    for (int i = 0; i < 4; ++i) {
        PictureMaker p(40 + i * 30, 30 + i * 20);
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x)
                p.set(x, y, (rng_() % 3 == 0 ? 0x80000000u : 0xFF000000u) | (rng_() & 0xFFFFFFu));
        drawing.put("p" + std::to_string(i) + ".png", p);
    }
    for (int i = 0; i < 12; ++i) {
        scene::ImageItem* item = nullptr;
        if (i % 4 == 3) {
            item = scene.make<scene::ImageItem>("");
            item->text = "Some words " + std::to_string(i);
            item->size = {200, 60, 0};
        } else {
            item = scene.make<scene::ImageItem>("p" + std::to_string(i % 4) + ".png");
        }
        item->position = {static_cast<float>(rng_() % 1000), static_cast<float>(rng_() % 700), 0};
        scene.rootItems.push_back(item);
        items_.push_back(item);
    }
}

void RandomScene::change(int frame) {
    const int changes = static_cast<int>(rng_() % 3);
    for (int k = 0; k < changes; ++k) {
        scene::ImageItem* item = items_[rng_() % items_.size()];
        switch (rng_() % 7) {
            case 0:
                item->position.x += static_cast<float>(rng_() % 41) - 20;
                break;
            case 1:
                item->colour = (rng_() & 0xFF000000u) | 0xFFFFFFu;
                break;
            case 2:
                item->sourceOffset.x += 3;
                item->sourceOffset.y += 1;
                break;
            case 3:
                item->raise();
                break;
            case 4:
                item->visible = !item->visible;
                break;
            case 5:
                item->scale = {0.5f + static_cast<float>(rng_() % 10) / 4, 1.5f, 1};
                break;
            default:
                item->text = item->picture ? item->text : "Changed " + std::to_string(frame);
                break;
        }
    }
}

}  // namespace qa::test
