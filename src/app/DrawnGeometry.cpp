// Recording and hit testing the last drawn frame's item geometry.
#include "app/DrawnGeometry.h"

#include <algorithm>

#include "scene/ImageItem.h"

namespace qa::app {

void DrawnGeometry::record(const std::list<scene::ImageItem*>& roots) {
    entries_.clear();
    for (scene::ImageItem* root : roots) add(root);
}

void DrawnGeometry::add(scene::ImageItem* item) {
    if (!item->visible) return;
    const std::size_t at = entries_.size();
    entries_.push_back({item, 0, item->position, item->centre, item->scale, item->size});
    for (scene::ImageItem* child : item->children) add(child);
    entries_[at].end = entries_.size();
}

scene::ImageItem* DrawnGeometry::itemAt(Vec3 point) const {
    // The same arithmetic as the item tree's own hit test, so that both agree to the last bit.
    auto toLocal = [](float v, float pos, float c, float s) {
        return ((v - pos) + c * s) / std::max(s, 0.000001f);
    };
    scene::ImageItem* found = nullptr;
    std::size_t i = 0, end = entries_.size();
    Vec3 p = point;
    while (i < end) {
        const Entry& e = entries_[i];
        const Vec3 l{toLocal(p.x, e.position.x, e.centre.x, e.scale.x),
                     toLocal(p.y, e.position.y, e.centre.y, e.scale.y),
                     toLocal(p.z, e.position.z, e.centre.z, e.scale.z)};
        if (l.x >= 0 && l.x <= e.size.x && l.y >= 0 && l.y <= e.size.y) {
            // Inside: its children are looked at next, in its own units; none of them: it is the one.
            found = e.item;
            p = l;
            end = e.end;
            ++i;
        } else {
            i = e.end;
        }
    }
    return found;
}

}  // namespace qa::app
