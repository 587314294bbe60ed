// The commands that act on items: Activate, ActivateSingle, Hide and Change.
#pragma once

#include <cstdint>
#include <string>

#include "common/Vec3.h"

namespace qa::scene {
class ImageItem;
class SceneState;
}  // namespace qa::scene

namespace qa::script {

class ItemCommands {
  public:
    // The commands act on the items of `scene`.
    explicit ItemCommands(scene::SceneState& scene) : scene_(scene) {}

    bool activate(std::string argument, Vec3 position, scene::ImageItem* item);
    bool activateSingle(std::string argument, Vec3 position, scene::ImageItem* item);
    bool hide(std::string argument, Vec3 position, scene::ImageItem* item);
    bool change(std::string argument, Vec3 position, scene::ImageItem* item);

    // The lookup of Activate, ActivateSingle and Hide: the item's children, then its siblings, then
    // its parent's siblings and so on up to the root items; only the root items without an item.
    scene::ImageItem* findScoped(const std::string& name, scene::ImageItem* item);
    // The lookup of Change: the item's siblings (the root items without an item or parent), then the
    // item name map, then the same again from the parent.
    scene::ImageItem* findForChange(const std::string& name, scene::ImageItem* item);

    // The low 8 bits of a colour channel truncated toward zero, as two's complement would keep
    // them, for any float: channels outside 0 to 255 wrap; infinities and NaN give 0.
    static std::uint32_t channelByte(float channel);

  private:
    // Shows the item, fires its onActivate and brings it to the front.
    void show(scene::ImageItem& target);
    // The first item with the name among the children of `owner` (the root items without one).
    scene::ImageItem* firstNamed(const scene::ImageItem* owner, const std::string& name) const;

    scene::SceneState& scene_;
};

}  // namespace qa::script
