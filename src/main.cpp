// quorvart: the program itself. It takes no arguments and plays the disk in the working folder
// (the one that holds data/) on the desktop: the SDL window, clock and joystick, the sound device
// and the settings file of the user. Timing runs (bench/run.sh) are asked for through the
// environment; see bench/harness/TimingRun.h.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/Application.h"
#include "harness/TimingRun.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/file/FileSettingsStore.h"
#include "platform/gfx/GraphicsHardware.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/window/sdl/SdlWindow.h"

int main() {
    using namespace qa;
    platform::window::SdlWindow window(platform::gfx::GraphicsHardware::present());
    platform::SdlClock clock;
    platform::SdlJoystick joystick;
    platform::FileSettingsStore settings(platform::FileSettingsStore::defaultPath());
    platform::gfx::SdlGraphics graphics;
    // The sound device, or without one the no-sound output.
    platform::audio::SoftwareSoundLibrary sound(platform::audio::OutputKind::Device);

    app::Application::Platform desktop;
    desktop.window = &window;
    desktop.clock = &clock;
    desktop.joystick = &joystick;
    desktop.settingsStore = &settings;
    desktop.graphics = &graphics;
    desktop.sound = &sound;

    std::unique_ptr<bench::TimingRun> timing = bench::TimingRun::fromEnvironment(window);
    if (timing) desktop.window = &timing->window();

    app::Application application(desktop);
    const int code = application.run();
    if (code == app::Application::kExitDisplayFailed) {
        // Without a display device the process ends at once; nothing is released first.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(code);
    }
    if (timing) timing->report();
    return code;
}
