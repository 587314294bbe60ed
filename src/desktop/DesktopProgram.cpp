// The desktop program's composition: the command line, the disk, the desktop's platform parts, then
// the application.
#include "desktop/DesktopProgram.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "platform/FileSource.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/file/FileSettingsStore.h"
#include "platform/gfx/GraphicsHardware.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/watch/FileWatcher.h"
#include "platform/window/sdl/SdlWindow.h"

namespace {

namespace fs = std::filesystem;

bool holdsScene(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / "data" / "QuorvArt.XQD", ec);
}

// Enters the disk's folder: the one named, or the working folder when it holds a scene document, or
// else the folder of the program itself (a disk shipped beside the program, started from a desktop).
bool enterDisk(const std::string& named) {
    std::error_code ec;
    if (!named.empty()) {
        if (!fs::is_directory(named, ec)) {
            std::fprintf(stderr, "quorvart: \"%s\" is not a disk folder\n", named.c_str());
            return false;
        }
        fs::current_path(named, ec);
        if (ec)
            std::fprintf(stderr, "quorvart: cannot enter \"%s\": %s\n", named.c_str(), ec.message().c_str());
        return !ec;
    }
    if (holdsScene(fs::current_path(ec))) return true;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && holdsScene(program.parent_path())) fs::current_path(program.parent_path(), ec);
    return true;  // otherwise the working folder, as it is
}

}  // namespace

namespace qa::desktop {

int DesktopProgram::run(int argc, char** argv, Hook* hook) {
    app::CommandLine line;
    std::string usageError;
    if (!line.parse(argc, argv, usageError)) {
        std::fprintf(stderr, "quorvart: %s\n%s", usageError.c_str(), app::CommandLine::usage());
        return 2;
    }
    if (line.action == app::CommandLine::Action::Help) {
        std::fputs(app::CommandLine::usage(), stdout);
        return 0;
    }
    if (line.action == app::CommandLine::Action::Version) {
        std::fputs(app::CommandLine::version(), stdout);
        return 0;
    }
    // A packed disk is read in place, through its archive; a folder is entered.
    std::shared_ptr<platform::FileSource> files;
    if (!line.disk.empty() && platform::FileSource::isDiskFile(line.disk)) {
        std::string error;
        files = platform::FileSource::openDisk(line.disk, error);
        if (!files) {
            std::fprintf(stderr, "quorvart: the disk %s cannot be opened: %s\n", line.disk.c_str(),
                         error.c_str());
            return 2;
        }
    } else if (!enterDisk(line.disk)) {
        return 2;
    }
    app::Application::Options options;
    options.windowed = line.windowed;
    options.sound = line.sound;
    options.noLauncher = line.noLauncher;
    options.watch = line.watch;

    platform::window::SdlWindow window(platform::gfx::GraphicsHardware::present());
    platform::SdlClock clock;
    platform::SdlJoystick joystick;
    platform::FileSettingsStore settings(platform::FileSettingsStore::defaultPath());
    platform::gfx::SdlGraphics graphics;
    // The sound device, or without one the no-sound output.
    platform::audio::SoftwareSoundLibrary sound(platform::audio::OutputKind::Device, files);

    app::Application::Platform desktop;
    desktop.window = &window;
    desktop.clock = &clock;
    desktop.joystick = &joystick;
    desktop.settingsStore = &settings;
    desktop.graphics = &graphics;
    desktop.sound = &sound;
    desktop.files = files;
    std::unique_ptr<platform::watch::FileWatcher> watcher;
    if (line.watch) watcher = platform::watch::FileWatcher::create();
    desktop.watcher = watcher.get();

    if (hook) desktop.window = &hook->window(window);

    app::Application application(desktop, options);
    const int code = application.run();
    if (code == app::Application::kExitDisplayFailed) {
        // Without a display device the process ends at once; nothing is released first.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(code);
    }
    if (hook) hook->finished();
    if (application.checkRunning()) {
        // The run is over (its shutdown done, its output written); a check of a big disk still
        // under way is not waited for.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(code);
    }
    return code;
}

}  // namespace qa::desktop
