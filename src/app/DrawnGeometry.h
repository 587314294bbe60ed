// Where the items of the last drawn frame stood: the visible item tree's geometry recorded right
// after drawing, so that a click finds the item the viewer saw under the pointer even when scripts
// have moved things since.
#pragma once

#include <list>
#include <vector>

#include "common/Vec3.h"

namespace qa::scene {
class ImageItem;
}

namespace qa::app {

class DrawnGeometry {
  public:
    // Records the visible items under the root items (front first, children front first).
    void record(const std::list<scene::ImageItem*>& roots);
    void clear() { entries_.clear(); }
    // The item under a point in virtual-screen units as the hover test finds it in the item tree
    // (the front root first, a child only inside its parent, the deepest one), or null.
    scene::ImageItem* itemAt(Vec3 point) const;

  private:
    struct Entry {
        scene::ImageItem* item;
        std::size_t end;  // one past the last entry of the item's subtree
        Vec3 position, centre, scale, size;
    };
    void add(scene::ImageItem* item);

    std::vector<Entry> entries_;
};

}  // namespace qa::app
