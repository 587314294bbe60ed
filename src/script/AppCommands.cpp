// ExitApp.
#include "script/AppCommands.h"

#include "platform/window/Window.h"

namespace qa::script {

bool AppCommands::exitApp(std::string, platform::Vec3, scene::ImageItem*) {
    // The window procedure sets the quit requested flag before the message returns; the rest of the
    // script and of the frame still run.
    if (window_) window_->sendMessage(platform::window::WM_CLOSE, 0, 0);
    return true;
}

}  // namespace qa::script
