// The scene's containers: root items, item names, every visual, the input receiver
// list, the picture cache, the shared cursor position and the drawing resources.
#pragma once

#include <list>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/Vec3.h"
#include "scene/PictureCache.h"
#include "scene/Visual.h"

namespace qa::platform::gfx {
class Sprite;
class Font;
}  // namespace qa::platform::gfx

namespace qa::trace {
class TraceSink;
}

namespace qa::scene {

class ImageItem;
class ScriptHook;

class SceneState {
  public:
    SceneState() = default;
    // Its visuals go first: they give their pictures back to the cache.
    ~SceneState() { destroyAllVisuals(); }
    SceneState(const SceneState&) = delete;
    SceneState& operator=(const SceneState&) = delete;

    std::list<ImageItem*> rootItems;                  // front = topmost
    std::map<std::string, ImageItem*> itemNames;      // later items replace earlier ones
    std::unordered_map<std::string, int> nameCounts;  // how many items bear each name in itemNames
    std::vector<std::unique_ptr<Visual>> visuals;     // every visual, owned, in construction order
    // Items drawn this frame in drawing order: the back is the front of the input receiver list
    // (the item drawn last, topmost). Cleared every frame without giving its storage back.
    std::vector<ImageItem*> drawnItems;
    PictureCache pictures;
    Vec3 cursor;  // cursor in virtual-screen units
    ScriptHook* scripts = nullptr;
    platform::gfx::Sprite* sprite = nullptr;
    platform::gfx::Font* systemFont = nullptr;
    trace::TraceSink* trace = nullptr;  // the engine's, when it has one
    int nextItemIndex = 0;

    // Makes a visual (or item) of this scene and keeps it; the lists and the tree refer to it.
    template <class T, class... Args>
    T* make(Args&&... args) {
        auto owned = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T* made = owned.get();
        visuals.push_back(std::move(owned));
        return made;
    }

    ImageItem* findItem(const std::string& name) const;
    // The item of that name when it is the only item of the scene named so, null otherwise: a
    // lookup among siblings then needs no walk through them (names never change once loaded).
    ImageItem* soleItemNamed(const std::string& name) const;
    // Enters a loaded item in the name lookups.
    void nameItem(ImageItem* item);
    // Enters an item at the front of the input receiver list.
    void enterInputReceivers(ImageItem* item) { drawnItems.push_back(item); }

    // Destroys every visual in construction order (shutdown stage 1); the lists forget them first.
    void destroyAllVisuals();
    // A clean state for a new run (tests): destroys the visuals, releases the pictures.
    void reset();
};

}  // namespace qa::scene
