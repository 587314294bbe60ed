// The last drawn frame's geometry finds the same item as the item tree's own hit test, and keeps
// finding it after the items move.
#include <gtest/gtest.h>

#include <random>

#include "app/DrawnGeometry.h"
#include "scene/ImageItem.h"
#include "scene/SceneState.h"

namespace qa::app {
namespace {

using scene::ImageItem;

TEST(DrawnGeometry, FindsWhatTheTreesHitTestFindsInRandomTrees) {
    std::mt19937 random(7);
    auto uniform = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(random); };
    for (int round = 0; round < 40; ++round) {
        scene::SceneState scene;
        std::vector<ImageItem*> items;
        for (int i = 0; i < 30; ++i) {
            auto* item = scene.make<ImageItem>("");
            item->position = {uniform(-50, 400), uniform(-50, 400), 0};
            item->size = {uniform(0, 300), uniform(0, 300), 0};
            item->centre = {uniform(-20, 20), uniform(-20, 20), 0};
            item->scale = {uniform(0.2f, 2), uniform(0.2f, 2), 1};
            item->visible = random() % 5 != 0;
            // A child of an earlier item, or a root.
            if (!items.empty() && random() % 3 != 0) {
                items[random() % items.size()]->addChild(item);
            } else {
                scene.rootItems.push_back(item);
            }
            items.push_back(item);
        }
        DrawnGeometry drawn;
        drawn.record(scene.rootItems);
        for (int probe = 0; probe < 200; ++probe) {
            const Vec3 p{uniform(-60, 500), uniform(-60, 500), 0};
            ImageItem* expected = nullptr;
            for (ImageItem* root : scene.rootItems) {
                if ((expected = root->hitTest(p)) != nullptr) break;
            }
            ASSERT_EQ(drawn.itemAt(p), expected) << "round " << round << " at " << p.x << ", " << p.y;
        }
        // What the frame showed stays found when the tree changes afterwards.
        ImageItem* before = drawn.itemAt({100, 100, 0});
        for (ImageItem* item : items) item->visible = false;
        EXPECT_EQ(drawn.itemAt({100, 100, 0}), before);
        drawn.clear();
        EXPECT_EQ(drawn.itemAt({100, 100, 0}), nullptr);
    }
}

}  // namespace
}  // namespace qa::app
