// The commands that act on items: Activate, ActivateSingle, Hide and Change.
#pragma once

#include <string>

#include "platform/Vec3.h"

namespace qa::scene {
class ImageItem;
}

namespace qa::script {

class ItemCommands {
public:
    static bool activate(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool activateSingle(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool hide(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool change(std::string argument, platform::Vec3 position, scene::ImageItem* item);
};

}  // namespace qa::script
