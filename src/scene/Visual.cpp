// Construction of a visual from its file name, and its drawing.
#include "scene/Visual.h"

#include "scene/Picture.h"
#include "scene/SceneState.h"

namespace qa::scene {

namespace {
bool endsWithTxt(const std::string& name) {
    return name.size() >= 5 && name.compare(name.size() - 4, 4, ".txt") == 0;
}
}  // namespace

Visual::Visual(const std::string& name) : fileName(name) {
    SceneState& state = sceneState();
    state.visuals.push_back(this);
    if (endsWithTxt(fileName)) {
        text = PictureCache::readTextFile(fileName);
        size = {400.0f, 300.0f, 0.0f};
        sourceSize.y = 300.0f;
    } else if (!fileName.empty()) {
        picture = state.pictures.acquire(fileName);
        if (picture) {
            size = {static_cast<float>(picture->info.width), static_cast<float>(picture->info.height), 0.0f};
            sourceSize = size;
        }
    }
    scale = {1.0f, 1.0f, 1.0f};
    colour = 0xFFFFFFFFu;
    centre = {size.x / 2, size.y / 2, 0.0f};
    sourceOffset = {};
    position = {};
}

Visual::~Visual() {
    if (picture) sceneState().pictures.release(picture->fileName);
}

bool Visual::draw() {
    if (!visible) return true;
    if (!sceneState().sprite) return false;
    return false;
}

}  // namespace qa::scene
