// The timer commands: SetTimer, ResetTimer, SetTimerInit, SetTimerEnd and KillTimer.
#pragma once

#include <string>

#include "common/Vec3.h"

namespace qa::scene {
class ImageItem;
}

namespace qa::script {

class TimerList;

class TimerCommands {
  public:
    explicit TimerCommands(TimerList& timers) : timers_(timers) {}

    bool setTimer(std::string argument, Vec3 position, scene::ImageItem* item);
    bool resetTimer(std::string argument, Vec3 position, scene::ImageItem* item);
    bool setTimerInit(std::string argument, Vec3 position, scene::ImageItem* item);
    bool setTimerEnd(std::string argument, Vec3 position, scene::ImageItem* item);
    bool killTimer(std::string argument, Vec3 position, scene::ImageItem* item);

  private:
    TimerList& timers_;
};

}  // namespace qa::script
