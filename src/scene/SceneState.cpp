// The scene's containers.
#include "scene/SceneState.h"

#include "scene/ImageItem.h"

namespace qa::scene {

ImageItem* SceneState::findItem(const std::string& name) const {
    auto it = itemNames.find(name);
    return it == itemNames.end() ? nullptr : it->second;
}

void SceneState::destroyAllVisuals() {
    // Destructors do not touch the visual list, so it can be walked while they run.
    std::vector<Visual*> all;
    all.swap(visuals);
    rootItems.clear();
    itemNames.clear();
    drawnItems.clear();
    for (Visual* v : all) delete v;
}

void SceneState::reset() {
    destroyAllVisuals();
    pictures.releaseAll();
    cursor = {};
    nextItemIndex = 0;
}

}  // namespace qa::scene
