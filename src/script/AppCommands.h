// The application command ExitApp: asks the application window to close.
#pragma once

#include <string>

#include "platform/Vec3.h"

namespace qa::platform::window {
class Window;
}
namespace qa::scene {
class ImageItem;
}

namespace qa::script {

class AppCommands {
  public:
    // The window that ExitApp closes; without one ExitApp does nothing.
    void setWindow(platform::window::Window* window) { window_ = window; }
    bool exitApp(std::string argument, platform::Vec3 position, scene::ImageItem* item);

  private:
    platform::window::Window* window_ = nullptr;
};

}  // namespace qa::script
