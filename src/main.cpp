// quorvart: the program itself. It takes no arguments and plays the disk in the working folder
// (the one that holds data/) on the desktop: the SDL window, clock and joystick, and the settings
// file of the user.
#include <cstdio>
#include <cstdlib>

#include "app/Application.h"
#include "platform/FileSettingsStore.h"
#include "platform/SdlClock.h"
#include "platform/SdlJoystick.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/window/sdl/SdlWindow.h"

int main() {
    using namespace qa;
    platform::window::SdlWindow window;
    platform::SdlClock clock;
    platform::SdlJoystick joystick;
    platform::FileSettingsStore settings(platform::FileSettingsStore::defaultPath());
    platform::gfx::SdlGraphics graphics;

    app::Application::Platform desktop;
    desktop.window = &window;
    desktop.clock = &clock;
    desktop.joystick = &joystick;
    desktop.settingsStore = &settings;
    desktop.graphics = &graphics;

    app::Application application(desktop);
    const int code = application.run();
    if (code == app::Application::kExitDisplayFailed) {
        // Without a display device the process ends at once; nothing is released first.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(code);
    }
    return code;
}
