// The timer commands: SetTimer, ResetTimer, SetTimerInit, SetTimerEnd and KillTimer.
#pragma once

#include <string>

#include "platform/Vec3.h"

namespace qa::scene {
class ImageItem;
}

namespace qa::script {

class TimerCommands {
  public:
    static bool setTimer(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool resetTimer(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool setTimerInit(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool setTimerEnd(std::string argument, platform::Vec3 position, scene::ImageItem* item);
    static bool killTimer(std::string argument, platform::Vec3 position, scene::ImageItem* item);
};

}  // namespace qa::script
