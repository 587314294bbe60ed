// Items that take every key from the items under them: an item that covers the screen, drawn above
// items with an onSubmit or onEscape, with such a script of its own. Keys go to the items in the
// reverse of drawing order, whatever lies under the pointer, so it gets every Enter or Esc first.
#pragma once

#include "check/FindingReport.h"
#include "check/ItemTree.h"
#include "check/Places.h"
#include "scene/SceneState.h"

namespace qa::check {

class KeyTraps {
  public:
    // The loaded scene as it stands before its first frame, drawn on a screen of the given size.
    static void check(scene::SceneState& scene, int screenWidth, int screenHeight, const ItemTree& tree,
                      const Places& places, FindingReport& report);
};

}  // namespace qa::check
