// How items run their event scripts: the script subsystem installs the runner, so the item model
// does not depend on the command table.
#pragma once

#include <string>

#include "common/Vec3.h"

namespace qa::scene {

class ImageItem;

class ScriptHook {
  public:
    virtual ~ScriptHook() = default;
    // Runs every statement of the script with the item; true when any handler returned true.
    virtual bool runItemScript(const std::string& script, Vec3 position, ImageItem* item) = 0;
};

}  // namespace qa::scene
