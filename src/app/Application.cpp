// Start-up and shutdown in their fixed order.
#include "app/Application.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "app/DisplayDevice.h"
#include "app/FrameObserver.h"
#include "app/Launcher.h"
#include "app/MainLoop.h"
#include "app/MusicFolder.h"
#include "app/SceneWatch.h"
#include "check/EngineDryRun.h"
#include "check/SceneChecker.h"
#include "platform/window/Window.h"
#include "scene/SceneLoader.h"
#include "scene/Visual.h"
#include "sound/MusicPlayer.h"
#include "sound/SamplePlayer.h"
#include "sound/SoundSystem.h"
#include "sound/StreamPlayer.h"

namespace qa::app {

using namespace platform::window;

Application::Application(const Platform& platform) : Application(platform, Options{}) {}
Application::Application(const Platform& platform, Options options)
    : platform_(platform), engine_(*platform.sound, platform.files), options_(options) {
    engine_.setTrace(platform.trace);
}
Application::~Application() = default;

bool Application::checkRunning() const {
    return watch_ && watch_->checkRunning();
}

int Application::run() {
    if (const std::optional<int> early = start()) return *early;
    // 19. The main loop.
    if (looping()) loop_->run();
    return finish();
}

bool Application::looping() const {
    return (sceneLoaded_ || options_.watch) && !settings_.quitRequested;
}

bool Application::frame() {
    if (!looping()) return false;
    if (!loopBegun_) {
        loop_->begin();
        loopBegun_ = true;
    }
    loop_->frame();
    return !settings_.quitRequested;
}

std::optional<int> Application::start() {
    Window& window = *platform_.window;
    launcher_ = std::make_unique<Launcher>(settings_, window, *platform_.settingsStore);
    loop_ = std::make_unique<MainLoop>(engine_, window, *platform_.clock, *platform_.joystick, nullptr);
    loop_->setObserver(observer_);
    // While watching, F5 reloads at the start of the next frame and F6 puts the panel away.
    loop_->setInputHook([this](const InputEvent& e) {
        if (!watch_ || e.type != InputEvent::Type::Key || e.press != InputEvent::Press::Down) return;
        if (e.key == VK_F5) watch_->askReload();
        if (e.key == VK_F6) watch_->dismissPanel();
    });

    // 1. Read the stored settings; choices given on the command line take their place.
    launcher_->readSettings();
    if (options_.windowed) settings_.windowed = *options_.windowed ? 1 : 0;
    if (options_.sound) settings_.usesound = *options_.sound ? 1 : 0;
    const bool storeChoices = !options_.noLauncher && !options_.windowed && !options_.sound;
    // 2-4. The launcher dialog, until the user starts; closing it ends the process.
    switch (options_.noLauncher ? launcher_->startAtOnce() : launcher_->run()) {
        case Launcher::Outcome::Started:
            break;
        case Launcher::Outcome::Closed:
            return std::optional<int>(kExitLauncherClosed);
        case Launcher::Outcome::NoWindow:
            return std::optional<int>(kExitNoWindow);
    }
    // 5. Write the settings back.
    if (storeChoices) launcher_->writeSettings();
    // 6. Hide the system cursor.
    window.showCursor(false);
    // 7. Remove the launcher's check boxes and start button; its picture stays for now.
    window.destroyControl(kFullscreenBox);
    window.destroyControl(kSoundBox);
    window.destroyControl(kStartButton);
    window.update();
    // 8. Start sound.
    startSound();
    // 9. Scan the music folder and start the first track.
    scanMusicFolder();
    // 10. Detect the joystick.
    loop_->detectJoystick();
    // 11. The display device. The window is handed over to it, on the whole desktop or as a window.
    window.setFullscreen(settings_.windowed == 0);
    display_ = std::make_unique<DisplayDevice>(platform_.graphics, &window);
    if (!display_->create(settings_.screenWidth, settings_.screenHeight, 0, 16, settings_.windowed, 0, 1)) {
        window.messageBox("D3D init failed!", "D3D Error");
        return std::optional<int>(kExitDisplayFailed);
    }
    loop_->setDisplay(display_.get());
    scene::SceneState& scene = engine_.scene;
    scene.pictures.setDevice(display_->device());
    // 12, 13. The system font and the sprite.
    display_->createSystemFont();
    display_->createSprite();
    scene.systemFont = display_->systemFont();
    scene.sprite = display_->sprite();
    // 14. The cursor picture.
    createCursor();
    // 15. The script commands.
    script::Commands& commands = engine_.commands;
    commands.app.setClose([this] { settings_.quitRequested = true; });
    commands.sound.setSoundOn(settings_.usesound != 0);
    commands.sound.setEffectMaker([&library = engine_.soundLibrary()](const std::string& path) {
        return std::unique_ptr<sound::SoundObject>(std::make_unique<sound::SamplePlayer>(library, path));
    });
    engine_.registerCommands();
    // 16. The scene document.
    scene::SceneLoader loader(scene);
    std::string loadError;
    sceneLoaded_ = SceneWatch::readScene(loader, loadError);
    if (sceneLoaded_) loader.build();
    if (!sceneLoaded_) {
        if (!options_.watch) std::fprintf(stderr, "%s\n", loadError.c_str());
        window.messageBox("Mag data corrupted", "QuorvArts error");
    }
    // 17. Remove the launcher picture.
    window.destroyControl(kLauncherPicture);
    // 18. Place the window.
    placeWindow();
    // While watching, a failed scene still opens the loop: the panel says why until a good save.
    if (options_.watch) startWatching(loadError);
    failedAtStart_ = !sceneLoaded_;
    loadError_ = loadError;
    return std::nullopt;
}

int Application::finish() {
    const bool failed = failedAtStart_;
    if (watch_) watch_->panel().releaseBox();
    shutdown();
    // A scene that never loaded is a failure, told by the exit code as well as the message box.
    return failed && !sceneLoaded_ ? kExitSceneFailed : 0;
}

void Application::startWatching(const std::string& loadError) {
    SceneWatch::Host host;
    host.sceneChange.itemsGoing = [this] {
        loop_->forgetItems();
        loop_->setCursorPicture(nullptr);
        cursor_ = nullptr;
    };
    host.sceneChange.beforeBuild = [this] { createCursor(); };
    host.makeTrack = [this](const std::string& path, bool stream) { return makeTrack(path, stream); };
    // A packed disk is read through its archive, which the checker does not look into; it cannot
    // change while it plays anyway.
    BackgroundCheck::CheckFunction check;
    if (!platform_.files) {
        check = [] {
            check::EngineDryRun dryRun;
            check::SceneChecker checker(dryRun.commandWords(), &dryRun);
            return checker.check();
        };
    }
    watch_ = std::make_unique<SceneWatch>(engine_, platform_.watcher, std::move(host), std::move(check));
    loop_->setFrameHook([this] {
        watch_->frameStarting();
        sceneLoaded_ = sceneLoaded_ || watch_->sceneLoaded();
    });
    loop_->setPresentedHook([this] { watch_->framePresented(); });
    loop_->setOverlay([this] {
        if (watch_->panel().visible() && display_)
            watch_->panel().draw(display_->device(), display_->sprite(), display_->systemFont());
    });
    watch_->started(sceneLoaded_, loadError);
}

void Application::startSound() {
    // The window stands in for the main window handle the library is attached to.
    soundSystem_ = std::make_unique<sound::SoundSystem>(engine_.soundLibrary(), settings_.usesound != 0,
                                                        platform_.window);
}

void Application::scanMusicFolder() {
    MusicFolder::scan(engine_.files(), engine_.tracks,
                      [this](const std::string& path, bool stream) { return makeTrack(path, stream); });
}

std::unique_ptr<sound::SoundObject> Application::makeTrack(const std::string& path, bool stream) {
    platform::audio::SoundLibrary& library = engine_.soundLibrary();
    // A track's sound is loaded when it is about to play: the folder's scan only checks each file.
    if (stream) return std::make_unique<sound::StreamPlayer>(library, path, true);
    return std::make_unique<sound::MusicPlayer>(library, path, true);
}

void Application::createCursor() {
    cursor_ = engine_.scene.make<scene::Visual>(".\\data\\cursor.png");
    cursor_->centre = {0.0f, 0.0f, 0.0f};
    loop_->setCursorPicture(cursor_);
}

void Application::placeWindow() {
    Window& window = *platform_.window;
    Rect r;
    if (window.windowRect(r)) {
        // In 64 bits, so that no rectangle the system reports can overflow the sums.
        const std::int64_t cx = (static_cast<std::int64_t>(r.left) + r.right) / 2;
        const std::int64_t cy = (static_cast<std::int64_t>(r.top) + r.bottom) / 2;
        const std::int64_t left = std::max<std::int64_t>(0, cx - settings_.screenWidth / 2);
        const std::int64_t top = std::max<std::int64_t>(0, cy - settings_.screenHeight / 2);
        window.setWindowPos(static_cast<int>(std::min<std::int64_t>(left, INT32_MAX)),
                            static_cast<int>(std::min<std::int64_t>(top, INT32_MAX)), settings_.screenWidth,
                            settings_.screenHeight);
    }
    window.update();
}

void Application::shutdown() {
    if (observer_) observer_->shuttingDown();
    scene::SceneState& scene = engine_.scene;
    // The scene (its timers' end scripts first, then every visual, every picture), the tracks, the
    // sound effects.
    engine_.shutdown([this] {
        loop_->setCursorPicture(nullptr);
        cursor_ = nullptr;
    });
    // The sprite, the device.
    scene.sprite = nullptr;
    scene.systemFont = nullptr;
    if (display_) {
        display_->releaseSprite();
        display_->release();
    }
    scene.pictures.setDevice(nullptr);
    // The system cursor comes back.
    platform_.window->showCursor(true);
    std::fflush(stdout);
}

}  // namespace qa::app
