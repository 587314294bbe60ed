// Launcher mode of the window procedure, and the settings' round trip through the store.
#include "app/Launcher.h"

#include "engine/Settings.h"
#include "platform/SettingsStore.h"

namespace qa::app {

using namespace platform::window;

void Launcher::readSettings() {
    std::uint8_t value;
    if (store_.read("windowed", value)) settings_.windowed = value;
    if (store_.read("usesound", value)) settings_.usesound = value;
}

void Launcher::writeSettings() {
    store_.write({{"windowed", settings_.windowed}, {"usesound", settings_.usesound}});
}

Launcher::Outcome Launcher::run() {
    if (!window_.createLauncher()) return Outcome::NoWindow;
    Message m;
    while (!settings_.startRequested) {
        // A posted quit message ends retrieval like a window that is gone.
        if (quitPosted_ || !window_.launcherMessage(m)) return Outcome::Closed;
        windowProc(m);
        if (closed_) return Outcome::Closed;
    }
    return Outcome::Started;
}

Launcher::Outcome Launcher::startAtOnce() {
    if (!window_.createLauncher()) return Outcome::NoWindow;
    settings_.startRequested = true;
    return Outcome::Started;
}

void Launcher::readBoxes() {
    settings_.windowed = window_.isChecked(kFullscreenBox) ? 0 : 1;
    settings_.usesound = window_.isChecked(kSoundBox) ? 1 : 0;
}

void Launcher::showBoxes() {
    window_.setChecked(kFullscreenBox, settings_.windowed == 0);
    window_.setChecked(kSoundBox, settings_.usesound != 0);
}

std::int64_t Launcher::windowProc(const Message& m) {
    switch (m.message) {
        case WM_COMMAND: {
            const int id = static_cast<int>(m.wParam & 0xFFFF);
            if (id == kLauncherPicture || id == kStartButton) {
                settings_.startRequested = true;
                readBoxes();
            } else if (id == kFullscreenBox || id == kSoundBox) {
                readBoxes();
            }
            return 0;
        }
        case WM_SYSCOMMAND:
            if (m.wParam == SC_MAXIMIZE) {
                settings_.windowed = 0;
                window_.setChecked(kFullscreenBox, true);
                return 0;
            }
            showBoxes();
            return 0;
        case WM_SHOWWINDOW:
            showBoxes();
            return 0;
        case WM_DESTROY:
            quitPosted_ = true;
            return 0;
        case WM_CLOSE:
        case WM_QUIT:
            closed_ = true;
            return 0;
        default:
            return 0;
    }
}

}  // namespace qa::app
