// The command line of the program: an optional disk and the options that override the launcher.
#include "app/CommandLine.h"

#include <string_view>

namespace qa::app {

const char* CommandLine::usage() {
    return "usage: quorvart [DISK] [options]\n"
           "  DISK               a disk folder (the one that holds data/) or a .qdisk file; without it,\n"
           "                     the current folder when it holds data/QuorvArt.XQD, else the program's own\n"
           "  --window           play in a 1024 x 768 window\n"
           "  --fullscreen       play full screen\n"
           "  --sound on|off     play with or without sound\n"
           "  --no-launcher      start at once with the stored settings, or with those given here\n"
           "                     (choices given here are not stored)\n"
           "  --watch            reload the disk when a file under its data/ changes (F5 reloads too;\n"
           "                     F6 puts the panel of findings away until the next save)\n"
           "  --scale MODE       how full screen fills the display: sharp (the default: even letters at\n"
           "                     any size), smooth (blurred a little) or pixel (nearest pixel); the choice\n"
           "                     is kept in the settings file for the next start\n"
           "  --help             show this text\n"
           "  --version          show the version\n";
}

const char* CommandLine::version() {
    return "quorvart 1.1\n";
}

bool CommandLine::empty() const {
    return disk.empty() && !windowed && !sound && !noLauncher && !watch && !scale && action == Action::Play;
}

bool CommandLine::parse(int argc, const char* const* argv, std::string& error) {
    bool diskGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            action = Action::Help;
        } else if (arg == "--version") {
            if (action != Action::Help) action = Action::Version;
        } else if (arg == "--window" || arg == "--fullscreen") {
            const bool want = arg == "--window";
            if (windowed && *windowed != want) {
                error = "--window and --fullscreen exclude each other";
                return false;
            }
            windowed = want;
        } else if (arg == "--sound") {
            if (i + 1 >= argc) {
                error = "--sound needs on or off";
                return false;
            }
            const std::string_view value = argv[++i];
            if (value != "on" && value != "off") {
                error = "--sound needs on or off, not \"" + std::string(value) + "\"";
                return false;
            }
            sound = value == "on";
        } else if (arg == "--scale") {
            const std::string_view value = i + 1 < argc ? argv[i + 1] : "";
            scale = platform::gfx::scaleModeNamed(value);
            if (!scale) {
                error = i + 1 < argc
                            ? "--scale needs sharp, smooth or pixel, not \"" + std::string(value) + "\""
                            : "--scale needs sharp, smooth or pixel";
                return false;
            }
            ++i;
        } else if (arg == "--no-launcher") {
            noLauncher = true;
        } else if (arg == "--watch") {
            watch = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option \"" + std::string(arg) + "\"";
            return false;
        } else if (diskGiven) {
            error = "one disk at a time: \"" + disk + "\" and \"" + std::string(arg) + "\"";
            return false;
        } else {
            disk = std::string(arg);
            diskGiven = true;
            if (disk.empty()) {
                error = "the disk's name is empty";
                return false;
            }
        }
    }
    return true;
}

}  // namespace qa::app
