// Full-screen items that take the keys.
#include "check/KeyTraps.h"

#include <string>
#include <vector>

#include "scene/ImageItem.h"
#include "scene/TextItem.h"

namespace qa::check {

namespace {

struct Drawn {
    scene::ImageItem* item;
    Vec3 position;  // on the screen, after the parents' placement
    Vec3 scale;
};

// The shown items in the order the first frame draws them (each before its children, the bottom one
// of each sibling list first), placed as drawing places them.
void collect(scene::ImageItem* item, Vec3 position, Vec3 scale, std::vector<Drawn>& out) {
    // A text item whose font sheet did not load draws nothing, takes no key and draws no child.
    if (!item->visible || (dynamic_cast<scene::TextItem*>(item) && !item->picture)) return;
    out.push_back({item, position, scale});
    for (auto it = item->children.rbegin(); it != item->children.rend(); ++it) {
        scene::ImageItem* child = *it;
        collect(child,
                {child->position.x * scale.x + position.x, child->position.y * scale.y + position.y,
                 child->position.z * scale.z + position.z},
                {child->scale.x * scale.x, child->scale.y * scale.y, child->scale.z * scale.z}, out);
    }
}

bool inside(const scene::ImageItem* item, const scene::ImageItem* ancestor) {
    for (const scene::ImageItem* at = item; at; at = at->parent)
        if (at == ancestor) return true;
    return false;
}

// Whether the area the pointer meets on the item (as hit testing places it) holds the whole screen.
bool coversScreen(const Drawn& d, int width, int height) {
    const scene::ImageItem& i = *d.item;
    const double left = d.position.x - i.centre.x * d.scale.x;
    const double top = d.position.y - i.centre.y * d.scale.y;
    return left <= 0 && top <= 0 && left + i.size.x * d.scale.x >= width &&
           top + i.size.y * d.scale.y >= height;
}

}  // namespace

void KeyTraps::check(scene::SceneState& scene, int screenWidth, int screenHeight, const ItemTree& tree,
                     const Places& places, FindingReport& report) {
    std::vector<Drawn> drawn;
    for (auto it = scene.rootItems.rbegin(); it != scene.rootItems.rend(); ++it)
        collect(*it, (*it)->position, (*it)->scale, drawn);
    struct Key {
        scene::Event event;
        const char* attribute;
        const char* key;
    };
    const Key keys[] = {{scene::Event::onSubmit, "onSubmit", "Enter"},
                        {scene::Event::onEscape, "onEscape", "Esc"}};
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        scene::ImageItem* cover = drawn[i].item;
        if (static_cast<std::size_t>(cover->index) >= tree.items().size() ||
            !coversScreen(drawn[i], screenWidth, screenHeight))
            continue;
        for (const Key& key : keys) {
            if (cover->script(key.event)->empty()) continue;
            // The topmost of the items drawn before it, outside it, with a script for the same key.
            const scene::ImageItem* under = nullptr;
            for (std::size_t j = i; j-- > 0 && !under;)
                if (!inside(drawn[j].item, cover) && !drawn[j].item->script(key.event)->empty())
                    under = drawn[j].item;
            if (!under) continue;
            const ItemTree::Item& item = *tree.items()[static_cast<std::size_t>(cover->index)];
            Finding f = places.value(Severity::Warning, item, key.attribute, 0);
            f.code = "takes-keys";
            const std::string underName =
                under->name.empty() ? "#" + std::to_string(under->index) : Finding::quoted(under->name);
            f.message =
                std::string("covers the screen and is drawn above ") + underName + ", so it takes every " +
                key.key +
                " from the items under it while it stays above them (the topmost shown item with an " +
                key.attribute + " gets the key, wherever the pointer is): draw the items with keys above it";
            report.add(std::move(f));
        }
    }
}

}  // namespace qa::check
