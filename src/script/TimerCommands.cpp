// Timer commands.
#include "script/TimerCommands.h"

namespace qa::script {

bool TimerCommands::setTimer(std::string, platform::Vec3, scene::ImageItem*) { return false; }
bool TimerCommands::resetTimer(std::string, platform::Vec3, scene::ImageItem*) { return false; }
bool TimerCommands::setTimerInit(std::string, platform::Vec3, scene::ImageItem*) { return false; }
bool TimerCommands::setTimerEnd(std::string, platform::Vec3, scene::ImageItem*) { return false; }
bool TimerCommands::killTimer(std::string, platform::Vec3, scene::ImageItem*) { return false; }

}  // namespace qa::script
