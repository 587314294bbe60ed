// The scene's containers.
#include "scene/SceneState.h"

#include "scene/ImageItem.h"

namespace qa::scene {

ImageItem* SceneState::findItem(const std::string& name) const {
    auto it = itemNames.find(name);
    return it == itemNames.end() ? nullptr : it->second;
}

ImageItem* SceneState::soleItemNamed(const std::string& name) const {
    auto count = nameCounts.find(name);
    return count == nameCounts.end() || count->second != 1 ? nullptr : findItem(name);
}

void SceneState::nameItem(ImageItem* item) {
    if (item->name.empty()) return;
    itemNames[item->name] = item;
    ++nameCounts[item->name];
}

void SceneState::destroyAllVisuals() {
    std::vector<std::unique_ptr<Visual>> all;
    all.swap(visuals);
    rootItems.clear();
    itemNames.clear();
    nameCounts.clear();
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
