// The desktop program's composition: the command line, the disk, the desktop's platform parts, then
// the application.
#include "desktop/DesktopProgram.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/file/DiskSource.h"
#include "platform/file/FileSettingsStore.h"
#include "platform/file/Files.h"
#include "platform/gfx/GraphicsHardware.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/watch/FileWatcher.h"
#include "platform/window/sdl/SdlWindow.h"
#include "scene/Syntax.h"

namespace {

namespace fs = std::filesystem;

bool holdsScene(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / qa::scene::Syntax::kDataFolder / qa::scene::Syntax::kDocumentFile,
                               ec);
}

// Whether a folder holds a scene document, found as the program finds it (a name that is not there
// as written is matched without regard to case).
bool holdsSceneAnyCase(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(qa::platform::Files::resolve("data\\QuorvArt.XQD", folder), ec);
}

// A path as the user reads it in a message: absolute, without "." and ".." parts or a final slash.
std::string fullPath(const std::string& named) {
    std::error_code ec;
    fs::path p = fs::absolute(named, ec).lexically_normal();
    std::string text = (ec ? fs::path(named) : p).string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

// Whether a file named as the disk is a scene document rather than a packed disk: its name ends in
// ".xqd", or it starts (after a byte-order mark and blanks) with "<", as no zip archive does.
bool isSceneDocument(const std::string& named) {
    std::string name = fs::path(named).filename().string();
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".xqd") == 0) return true;
    std::ifstream in(named, std::ios::binary);
    std::string start(64, '\0');
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    std::size_t at = start.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    while (at < start.size() && std::isspace(static_cast<unsigned char>(start[at]))) ++at;
    return at < start.size() && start[at] == '<';
}

// Says that a scene document was given where its disk's folder belongs (the folder above its data/).
void sceneDocumentGiven(const std::string& named) {
    std::error_code ec;
    fs::path disk = fs::absolute(named, ec).lexically_normal().parent_path();
    std::string folder = disk.filename().string();
    for (char& c : folder) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (folder == "data") disk = disk.parent_path();
    std::fprintf(stderr,
                 "quorvart: %s is not a disk: it is a scene document; give its disk's folder (the one that "
                 "holds data/QuorvArt.XQD): quorvart %s\n",
                 fullPath(named).c_str(), disk.string().c_str());
}

// Enters the disk's folder: the one named, or the working folder when it holds a scene document, or
// else the folder of the program itself (a disk shipped beside the program, started from a desktop).
// A folder named that holds no scene document is no disk: said on standard error, false.
bool enterDisk(const std::string& named) {
    std::error_code ec;
    if (!named.empty()) {
        if (!fs::is_directory(named, ec)) {
            std::fprintf(stderr, "quorvart: \"%s\" is not a disk folder\n", named.c_str());
            return false;
        }
        if (!holdsSceneAnyCase(named)) {
            const std::string full = fullPath(named);
            std::fprintf(stderr, "quorvart: %s is not a disk: no data/QuorvArt.XQD in %s\n", full.c_str(),
                         full.c_str());
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
    if (!line.disk.empty() && platform::file::isDiskFile(line.disk) && isSceneDocument(line.disk)) {
        sceneDocumentGiven(line.disk);
        return 2;
    }
    if (!line.disk.empty() && platform::file::isDiskFile(line.disk)) {
        std::string error;
        files = platform::file::openDisk(line.disk, error);
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
    // The way full screen is scaled: asked for (and then kept), else as kept, else the default.
    platform::gfx::SdlGraphics::Options shown;
    if (line.scale) {
        shown.scale = *line.scale;
        settings.write({{"scale", static_cast<std::uint8_t>(*line.scale)}});
    } else if (std::uint8_t kept = 0; settings.read("scale", kept)) {
        shown.scale = platform::gfx::scaleModeStored(kept).value_or(platform::gfx::kDefaultScaleMode);
    }
    platform::gfx::SdlGraphics graphics(shown);
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
