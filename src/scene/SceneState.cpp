// The scene's containers.
#include "scene/SceneState.h"

#include "scene/ImageItem.h"

namespace qa::scene {

ImageItem* SceneState::findItem(const std::string& name) const {
    auto it = itemNames.find(name);
    return it == itemNames.end() ? nullptr : it->second;
}

void SceneState::destroyAllVisuals() {
    std::vector<std::unique_ptr<Visual>> all;
    all.swap(visuals);
    rootItems.clear();
    itemNames.clear();
    drawnItems.clear();
    for (std::unique_ptr<Visual>& v : all) v.reset();
}

void SceneState::reset() {
    destroyAllVisuals();
    pictures.releaseAll();
    cursor = {};
    nextItemIndex = 0;
}

}  // namespace qa::scene
