// The program from start to end: the start-up stages in their fixed order, the main loop, the
// shutdown in its fixed order, and the exit code.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ErrorPanel.h"
#include "engine/Engine.h"

namespace qa::platform {
class Clock;
class FileSource;
class Joystick;
class SettingsStore;
namespace window {
class Window;
}
namespace gfx {
class Graphics;
}
namespace audio {
class SoundLibrary;
}
}  // namespace qa::platform
namespace qa::platform::watch {
class FileWatcher;
}
namespace qa::trace {
class TraceSink;
}
namespace qa::scene {
class Visual;
class SceneLoader;
}  // namespace qa::scene
namespace qa::sound {
class SoundObject;
class SoundSystem;
}  // namespace qa::sound

namespace qa::app {

class DisplayDevice;
class FrameObserver;
class Launcher;
class MainLoop;

class Application {
  public:
    static constexpr int kExitLauncherClosed = 23;
    static constexpr int kExitDisplayFailed = -1;  // 0xFFFFFFFF
    static constexpr int kExitNoWindow = 1;        // no display to open a window on
    static constexpr int kExitSceneFailed = 1;     // the scene document did not load

    // What the command line asked for; all empty: exactly as without arguments.
    struct Options {
        std::optional<bool> windowed;
        std::optional<bool> sound;
        bool noLauncher = false;  // start at once; nothing is stored
        bool watch = false;       // reload when the disk's data/ changes, or on F5
    };

    // What the program runs on: the real desktop, or the headless runner's stand-ins.
    struct Platform {
        platform::window::Window* window = nullptr;
        platform::Clock* clock = nullptr;
        platform::Joystick* joystick = nullptr;
        platform::SettingsStore* settingsStore = nullptr;
        platform::gfx::Graphics* graphics = nullptr;
        platform::audio::SoundLibrary* sound = nullptr;  // required
        // The disk's files; null for the disk in the working folder. The sound library is expected to
        // read from the same source.
        std::shared_ptr<platform::FileSource> files;
        trace::TraceSink* trace = nullptr;  // optional
    };

    explicit Application(const Platform& platform);
    Application(const Platform& platform, Options options);
    ~Application();

    void setObserver(FrameObserver* observer) { observer_ = observer; }

    // Start-up, main loop and shutdown; returns the exit code. With kExitDisplayFailed the caller
    // ends the process at once, releasing nothing.
    int run();

    const engine::Settings& settings() const { return engine_.settings; }
    engine::Engine& engine() { return engine_; }
    MainLoop* mainLoop() const { return loop_.get(); }
    DisplayDevice* display() const { return display_.get(); }
    // Whether the scene document loaded (stage 16).
    bool sceneLoaded() const { return sceneLoaded_; }

    // Reloads the scene document and everything it names; the music goes on. When the new document
    // does not load, the scene on screen stays and the error panel tells why. False then.
    bool reload();
    const ErrorPanel& errorPanel() const { return panel_; }
    // What the last failed load said, as "data/QuorvArt.XQD:LINE:COLUMN: error: REASON".
    const std::string& loadError() const { return loadError_; }

  private:
    void startSound();
    void scanMusicFolder();
    void createCursor();
    void placeWindow();
    void shutdown();
    // Reads the scene document; on failure keeps the reason in loadError_.
    bool readScene(scene::SceneLoader& loader);
    // At the start of every frame while watching: reloads when a file changed or F5 was pressed, and
    // reads the music folder again when something in it changed.
    void watchStep();
    // The music folder read again; `all`: every file counts as changed, else those named.
    void rescanMusic(bool all, const std::vector<std::string>& changed);
    // While watching: the files the scene names that are missing, on standard error and in the panel.
    void showFileWarnings();
    // Makes the player of a track of the music folder.
    std::unique_ptr<sound::SoundObject> makeTrack(const std::string& path, bool stream);

    Platform platform_;
    // First, so that it goes last: the display, the loop and the sound system refer to its parts.
    engine::Engine engine_;
    engine::Settings& settings_ = engine_.settings;
    std::unique_ptr<Launcher> launcher_;
    std::unique_ptr<DisplayDevice> display_;
    std::unique_ptr<MainLoop> loop_;
    std::unique_ptr<sound::SoundSystem> soundSystem_;
    FrameObserver* observer_ = nullptr;
    scene::Visual* cursor_ = nullptr;
    bool sceneLoaded_ = false;
    Options options_;
    std::unique_ptr<platform::watch::FileWatcher> watcher_;
    bool reloadAsked_ = false;
    // When the reload that the next presented frame shows began (to report how long it took).
    std::optional<std::chrono::steady_clock::time_point> reloadStarted_;
    ErrorPanel panel_;
    std::string loadError_;
};

}  // namespace qa::app
