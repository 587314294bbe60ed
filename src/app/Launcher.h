// The launcher: the settings read from the store, the dialog in which the user picks full screen
// and sound, and the settings written back when the user starts.
#pragma once

#include <cstdint>

#include "platform/window/LauncherWindow.h"

namespace qa::platform {
class SettingsStore;
}

namespace qa::engine {
struct Settings;
}

namespace qa::app {

class Launcher {
  public:
    Launcher(engine::Settings& settings, platform::window::LauncherWindow& window,
             platform::SettingsStore& store)
        : settings_(settings), window_(window), store_(store) {}

    // Stage 1: "windowed" then "usesound"; a missing or unreadable value keeps the default.
    void readSettings();
    enum class Outcome {
        Started,   // the user started: the program goes on
        Closed,    // closed, or message retrieval ended: exit code 23, nothing written
        NoWindow,  // the window could not be created (no display)
    };
    // Stages 3 and 4: shows the dialog and runs it until the user starts.
    Outcome run();
    // Opens the window and starts at once, without asking (the program's --no-launcher).
    Outcome startAtOnce();
    // Stage 5: writes both values; failures are ignored.
    void writeSettings();

    // The launcher-mode window procedure.
    std::int64_t windowProc(const platform::window::Message& m);
    bool closed() const { return closed_; }

  private:
    void readBoxes();
    void showBoxes();

    engine::Settings& settings_;
    platform::window::LauncherWindow& window_;
    platform::SettingsStore& store_;
    bool closed_ = false;
    bool quitPosted_ = false;
};

}  // namespace qa::app
