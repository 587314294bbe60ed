// The command line of the program: an optional disk and the options that override the launcher.
#pragma once

#include <optional>
#include <string>

#include "platform/gfx/ScaleMode.h"

namespace qa::app {

class CommandLine {
  public:
    enum class Action { Play, Help, Version };

    Action action = Action::Play;
    std::string disk;              // empty: found as the program without arguments finds it
    std::optional<bool> windowed;  // --window / --fullscreen
    std::optional<bool> sound;     // --sound on|off
    bool noLauncher = false;       // start at once with the stored settings or those given
    bool watch = false;            // reload when the disk's data/ changes
    // --scale pixel|sharp|smooth: how full screen fills the display; kept in the settings file
    std::optional<platform::gfx::ScaleMode> scale;

    // Reads argv; false with `error` set for an unknown option, a bad value or a second disk.
    bool parse(int argc, const char* const* argv, std::string& error);

    // Whether anything was asked for: without it the program runs exactly as without arguments.
    bool empty() const;

    static const char* usage();
    static const char* version();
};

}  // namespace qa::app
