// A scene item: a visual with a parent, ordered children, fifteen event scripts and a name.
#pragma once

#include <array>
#include <list>
#include <string>

#include "scene/Event.h"
#include "scene/Visual.h"

namespace qa::scene {

class ImageItem : public Visual {
  public:
    ImageItem(SceneState& scene, const std::string& fileName);
    ~ImageItem() override;

    bool draw() override;
    virtual bool drawChildren();
    virtual bool addChild(ImageItem* child);
    virtual bool removeChild(ImageItem* child);
    // Moves the item to the front of its sibling list, firing onActivate unless it is already the
    // front root item.
    virtual void raise();
    // The topmost item of this subtree under the point (given in the frame of `position`), or null.
    virtual ImageItem* hitTest(Vec3 point);
    // Runs the event's script; an unhandled event climbs to the parent.
    virtual bool fireEvent(Event event, Vec3 cursor);

    // The script of an event; null for a number outside 1 to 15.
    std::string* script(Event event);

    ImageItem* parent = nullptr;
    std::list<ImageItem*> children;  // front = topmost
    std::array<std::string, kEventCount> scripts;
    std::string name;
    int index = 0;  // place in construction order among items, from 0 (for the trace)

  protected:
    // The item's own drawing, the visual's rule for pictures and ".txt" texts.
    bool drawSelf() { return Visual::draw(); }
};

}  // namespace qa::scene
