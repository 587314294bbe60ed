// Item commands.
#include "script/ItemCommands.h"

namespace qa::script {

bool ItemCommands::activate(std::string, platform::Vec3, scene::ImageItem*) { return false; }
bool ItemCommands::activateSingle(std::string, platform::Vec3, scene::ImageItem*) { return false; }
bool ItemCommands::hide(std::string, platform::Vec3, scene::ImageItem*) { return false; }
bool ItemCommands::change(std::string, platform::Vec3, scene::ImageItem*) { return false; }

}  // namespace qa::script
