// ExitApp.
#include "script/AppCommands.h"

namespace qa::script {

bool AppCommands::exitApp(std::string, Vec3, scene::ImageItem*) {
    // The quit requested flag is set at once; the rest of the script and of the frame still run.
    if (close_) close_();
    return true;
}

}  // namespace qa::script
