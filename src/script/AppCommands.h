// The application command ExitApp: asks the application window to close.
#pragma once

#include <functional>
#include <string>

#include "common/Vec3.h"

namespace qa::scene {
class ImageItem;
}

namespace qa::script {

class AppCommands {
  public:
    // What closing the application window does; without it ExitApp does nothing.
    void setClose(std::function<void()> close) { close_ = std::move(close); }
    bool exitApp(std::string argument, Vec3 position, scene::ImageItem* item);

  private:
    std::function<void()> close_;
};

}  // namespace qa::script
