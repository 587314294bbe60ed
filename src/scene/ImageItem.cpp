// Item tree operations: drawing with children, raising, hit testing and event passing.
#include "scene/ImageItem.h"

#include <algorithm>

#include "scene/SceneState.h"
#include "scene/ScriptHook.h"
#include "trace/TraceSink.h"

namespace qa::scene {

ImageItem::ImageItem(SceneState& scene, const std::string& fileName) : Visual(scene, fileName) {
    index = scene_.nextItemIndex++;
}

ImageItem::~ImageItem() = default;

std::string* ImageItem::script(Event event) {
    const int number = eventNumber(event);
    if (number < 1 || number > kEventCount) return nullptr;
    return &scripts[static_cast<std::size_t>(number - 1)];
}

bool ImageItem::draw() {
    if (!visible) return true;
    bool own = drawSelf();
    scene_.enterInputReceivers(this);
    bool kids = drawChildren();
    return own && kids;
}

bool ImageItem::drawChildren() {
    if (!visible) return true;
    bool all = true;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        ImageItem* child = *it;
        const Vec3 savedPosition = child->position;
        const Vec3 savedScale = child->scale;
        child->position = {child->position.x * scale.x + position.x, child->position.y * scale.y + position.y,
                           child->position.z * scale.z + position.z};
        child->scale = {child->scale.x * scale.x, child->scale.y * scale.y, child->scale.z * scale.z};
        bool ok = child->draw();
        child->position = savedPosition;
        child->scale = savedScale;
        all = all && ok;
    }
    return all;
}

bool ImageItem::addChild(ImageItem* child) {
    children.push_front(child);
    child->parent = this;
    return true;
}

bool ImageItem::removeChild(ImageItem* child) {
    child->parent = nullptr;
    auto it = std::find(children.begin(), children.end(), child);
    if (it != children.end()) children.erase(it);
    return true;
}

void ImageItem::raise() {
    SceneState& state = scene_;
    if (state.rootItems.empty() || state.rootItems.front() != this)
        fireEvent(Event::onActivate, state.cursor);
    // The onActivate script may have moved things: look the sibling list up afresh.
    std::list<ImageItem*>& siblings = parent ? parent->children : state.rootItems;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it != siblings.end()) siblings.splice(siblings.begin(), siblings, it);
}

ImageItem* ImageItem::hitTest(Vec3 p) {
    if (!visible) return nullptr;
    auto local = [](float point, float pos, float c, float s) {
        return ((point - pos) + c * s) / std::max(s, 0.000001f);
    };
    Vec3 l{local(p.x, position.x, centre.x, scale.x), local(p.y, position.y, centre.y, scale.y),
           local(p.z, position.z, centre.z, scale.z)};
    if (l.x >= 0 && l.x <= size.x && l.y >= 0 && l.y <= size.y) {
        for (ImageItem* child : children) {
            if (ImageItem* hit = child->hitTest(l)) return hit;
        }
        return this;
    }
    return nullptr;
}

bool ImageItem::fireEvent(Event event, Vec3 cursor) {
    bool handled = false;
    const std::string* text = script(event);
    ScriptHook* hook = scene_.scripts;
    if (text && !text->empty() && hook) {
        std::string copy = *text;  // a script may change the stored text while it runs
        handled = hook->runItemScript(copy, cursor, this);
    }
    if (!handled && parent) handled = parent->fireEvent(event, cursor);
    if (trace::TraceSink* trace = scene_.trace) trace->event(eventNumber(event), name, index, handled);
    return handled;
}

}  // namespace qa::scene
