// The program from start to end: the start-up stages in their fixed order, the main loop, the
// shutdown in its fixed order, and the exit code.
#pragma once

#include <memory>
#include <optional>
#include <string>

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
class SceneWatch;

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
        // Tells what changed under data/ while watching; null: only F5 reloads.
        platform::watch::FileWatcher* watcher = nullptr;
    };

    explicit Application(const Platform& platform);
    Application(const Platform& platform, Options options);
    ~Application();

    void setObserver(FrameObserver* observer) { observer_ = observer; }

    // Start-up, main loop and shutdown; returns the exit code. With kExitDisplayFailed the caller
    // ends the process at once, releasing nothing.
    int run();

    // The same run for a caller whose own loop calls frame() (a page, where the browser owns the
    // loop): start() does the start-up stages and returns the exit code when the run ends there;
    // frame() runs one frame of the main loop and returns false once the loop is over (at once
    // when the scene did not load and nothing is watched); finish() shuts down and returns the
    // exit code.
    std::optional<int> start();
    bool frame();
    int finish();

    const engine::Settings& settings() const { return engine_.settings; }
    engine::Engine& engine() { return engine_; }
    MainLoop* mainLoop() const { return loop_.get(); }
    DisplayDevice* display() const { return display_.get(); }
    // Whether the scene document loaded (stage 16).
    bool sceneLoaded() const { return sceneLoaded_; }
    // Why the scene document did not load at start-up (with its line and column); empty when it did.
    const std::string& loadError() const { return loadError_; }
    // Whether a check of the disk (while watching) is still running; destroying the application
    // waits for it.
    bool checkRunning() const;

  private:
    // Whether the main loop is to run (or go on running).
    bool looping() const;
    void startSound();
    void scanMusicFolder();
    void createCursor();
    void placeWindow();
    // With --watch: reloads, the music folder read again and the panel, hooked into the loop.
    void startWatching(const std::string& loadError);
    void shutdown();
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
    bool failedAtStart_ = false;  // the scene did not load at start-up
    std::string loadError_;
    bool loopBegun_ = false;
    Options options_;
    std::unique_ptr<SceneWatch> watch_;  // with --watch
};

}  // namespace qa::app
