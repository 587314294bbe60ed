// The launcher-mode window procedure, the settings' round trip, and the start-up stages, failures
// and exit codes around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "app/Application.h"
#include "app/Launcher.h"
#include "app/MainLoop.h"
#include "engine/Settings.h"
#include "platform/SettingsStore.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/null/NullGraphics.h"
#include "support/FakeInput.h"
#include "support/FakeWindow.h"
#include "support/TempDisk.h"

namespace qa::app {
namespace {

using namespace platform::window;
using test::FakeWindow;

class RecordingStore : public platform::SettingsStore {
  public:
    bool read(const std::string& name, std::uint8_t& value) override {
        reads.push_back(name);
        auto it = values.find(name);
        if (it == values.end()) return false;
        value = it->second;
        return true;
    }
    bool write(const std::map<std::string, std::uint8_t>& v) override {
        ++writes;
        for (const auto& [k, x] : v) values[k] = x;
        return true;
    }
    std::map<std::string, std::uint8_t> values;
    std::vector<std::string> reads;
    int writes = 0;
};

class FailingGraphics : public platform::gfx::Graphics {
  public:
    std::unique_ptr<platform::gfx::Device> createDevice(int, platform::gfx::DeviceType, GameWindow*,
                                                        std::uint32_t,
                                                        const platform::gfx::PresentParameters&) override {
        ++requests;
        return nullptr;
    }
    int requests = 0;
};

Message command(int id, int notification = 0) {
    return {WM_COMMAND, static_cast<std::uint64_t>(id) | (static_cast<std::uint64_t>(notification) << 16), 0};
}

TEST(LauncherWindowProc, CommandsSystemCommandsAndClose) {
    engine::Settings s;
    FakeWindow w;
    RecordingStore store;
    Launcher l(s, w, store);

    l.windowProc({WM_SHOWWINDOW, 1, 0});  // defaults: full screen, sound on
    EXPECT_TRUE(w.isChecked(kFullscreenBox));
    EXPECT_TRUE(w.isChecked(kSoundBox));

    w.checks[kSoundBox] = false;
    l.windowProc(command(kSoundBox));
    EXPECT_EQ(s.usesound, 0);
    w.checks[kFullscreenBox] = false;
    l.windowProc(command(kFullscreenBox, 5));  // the notification code does not matter
    EXPECT_EQ(s.windowed, 1);
    EXPECT_FALSE(s.startRequested);

    l.windowProc(command(2));  // Esc's cancel command does nothing
    l.windowProc(command(1));
    EXPECT_FALSE(s.startRequested);
    EXPECT_EQ(s.windowed, 1);

    // Maximise asks for full screen and is taken (returns 0); any other system command shows the
    // settings in the boxes again.
    EXPECT_EQ(l.windowProc({WM_SYSCOMMAND, SC_MAXIMIZE, 0}), 0);
    EXPECT_EQ(s.windowed, 0);
    EXPECT_TRUE(w.isChecked(kFullscreenBox));
    w.checks[kSoundBox] = true;  // changed on screen but not yet told
    l.windowProc({WM_SYSCOMMAND, SC_MINIMIZE, 0});
    EXPECT_FALSE(w.isChecked(kSoundBox));
    l.windowProc({WM_SYSCOMMAND, SC_MAXIMIZE | 2, 0});  // not exactly SC_MAXIMIZE
    EXPECT_EQ(s.windowed, 0);

    // The start button and the picture both start, reading the boxes.
    w.checks[kFullscreenBox] = false;
    l.windowProc(command(kLauncherPicture));
    EXPECT_TRUE(s.startRequested);
    EXPECT_EQ(s.windowed, 1);
    EXPECT_EQ(store.writes, 0);

    engine::Settings s2;
    Launcher l2(s2, w, store);
    l2.windowProc(command(kStartButton, 0));
    EXPECT_TRUE(s2.startRequested);
    l2.windowProc({WM_CLOSE, 0, 0});
    EXPECT_TRUE(l2.closed());
}

TEST(LauncherSettings, ReadsWindowedThenUsesoundAndWritesBoth) {
    engine::Settings s;
    FakeWindow w;
    RecordingStore store;
    store.values = {{"windowed", 1}};
    Launcher l(s, w, store);
    l.readSettings();
    EXPECT_EQ(store.reads, (std::vector<std::string>{"windowed", "usesound"}));
    EXPECT_EQ(s.windowed, 1);
    EXPECT_EQ(s.usesound, 1);  // absent: the default stays
    s.usesound = 0;
    l.writeSettings();
    EXPECT_EQ(store.writes, 1);
    EXPECT_EQ(store.values, (std::map<std::string, std::uint8_t>{{"windowed", 1}, {"usesound", 0}}));
}

// One run of the whole program on test stand-ins.
struct ProgramRun {
    test::TempDisk disk;
    FakeWindow window;
    test::FakeClock clock;
    test::FakeJoystick joystick;
    RecordingStore store;
    platform::gfx::NullGraphics graphics;
    platform::gfx::Graphics* useGraphics = &graphics;
    platform::audio::SoftwareSoundLibrary sound{platform::audio::OutputKind::Pull};
    std::unique_ptr<Application> app;
    // Called with the application's engine before it runs.
    std::function<void(engine::Engine&)> beforeRun;

    ProgramRun() {
        joystick.present = false;
        disk.writeScene("<scene><item name=\"a\" onDown=\"ExitApp\"/></scene>");
        window.launcherMessages = {{WM_SHOWWINDOW, 1, 0}};
        window.queue = {InputEvent::close()};
    }

    // With `stepped`, the run is driven as a loop of the caller's own drives it: start(), frame()
    // until it returns false, finish().
    int run(bool stepped = false) {
        Application::Platform p;
        p.window = &window;
        p.clock = &clock;
        p.joystick = &joystick;
        p.settingsStore = &store;
        p.graphics = useGraphics;
        p.sound = &sound;
        app = std::make_unique<Application>(p);
        if (beforeRun) beforeRun(app->engine());
        if (!stepped) return app->run();
        if (const std::optional<int> early = app->start()) return *early;
        while (app->frame()) {
        }
        return app->finish();
    }
    bool called(const std::string& c) const {
        return std::find(window.calls.begin(), window.calls.end(), c) != window.calls.end();
    }
};

TEST(ApplicationStart, FirstRunStartsWithBothBoxesTickedAndWritesTheDefaults) {
    ProgramRun r;
    r.window.launcherMessages.push_back(command(kStartButton));
    EXPECT_EQ(r.run(), 0);
    EXPECT_EQ(r.store.writes, 1);
    EXPECT_EQ(r.store.values, (std::map<std::string, std::uint8_t>{{"windowed", 0}, {"usesound", 1}}));
    EXPECT_TRUE(r.called("fullscreen 1"));
    // The controls go at stage 7, the picture at stage 17; the cursor is hidden and shown again.
    EXPECT_EQ(r.window.destroyed,
              (std::vector<int>{kFullscreenBox, kSoundBox, kStartButton, kLauncherPicture}));
    EXPECT_EQ(r.window.calls.front(), "createLauncher");
    EXPECT_EQ(r.window.calls[1], "showCursor 0");
    EXPECT_EQ(r.window.calls.back(), "showCursor 1");
    EXPECT_TRUE(r.app->sceneLoaded());
    EXPECT_EQ(r.app->mainLoop()->frameNumber(), 1);  // the close ends the first frame
    EXPECT_TRUE(r.window.boxes.empty());
}

TEST(ApplicationStart, UntickingFullscreenRunsInAWindowAndMaximiseTicksItAgain) {
    ProgramRun r;
    r.window.launcherMessages.push_back(command(kFullscreenBox));
    r.window.launcherMessages.push_back(command(kSoundBox));
    r.window.launcherMessages.push_back(command(kStartButton));
    EXPECT_EQ(r.run(), 0);
    EXPECT_EQ(r.store.values, (std::map<std::string, std::uint8_t>{{"windowed", 1}, {"usesound", 0}}));
    EXPECT_TRUE(r.called("fullscreen 0"));

    ProgramRun m;
    m.window.launcherMessages.push_back(command(kFullscreenBox));
    m.window.launcherMessages.push_back({WM_SYSCOMMAND, SC_MAXIMIZE, 0});
    m.window.launcherMessages.push_back(command(kStartButton));
    EXPECT_EQ(m.run(), 0);
    EXPECT_EQ(m.store.values.at("windowed"), 0);
}

TEST(ApplicationStart, ClosingTheLauncherEnds23WritingNothing) {
    for (int how = 0; how < 4; ++how) {
        ProgramRun r;
        r.store.values = {{"windowed", 1}};
        switch (how) {
            case 0:
                r.window.launcherMessages.push_back({WM_CLOSE, 0, 0});
                break;
            case 1:
                r.window.launcherMessages.push_back({WM_QUIT, 0, 0});
                break;
            case 2:
                break;  // retrieval ends
            case 3:     // the window is destroyed: the quit it posts ends retrieval
                r.window.launcherMessages.push_back({WM_DESTROY, 0, 0});
                r.window.launcherMessages.push_back(command(kStartButton));
                break;
        }
        EXPECT_EQ(r.run(), Application::kExitLauncherClosed) << how;
        EXPECT_EQ(r.store.writes, 0) << how;
        EXPECT_TRUE(r.window.destroyed.empty()) << how;
        EXPECT_FALSE(r.called("showCursor 0")) << how;
    }
}

TEST(ApplicationStart, NoWindowIsItsOwnExitCode) {
    ProgramRun r;
    r.window.canCreate = false;
    EXPECT_EQ(r.run(), Application::kExitNoWindow);
    EXPECT_NE(Application::kExitNoWindow, 0);
    EXPECT_EQ(r.store.writes, 0);
}

TEST(ApplicationStart, MissingSceneShowsItsMessageAndFailsWithoutALoop) {
    ProgramRun r;
    std::filesystem::remove(r.disk.root() / "data" / "QuorvArt.XQD");
    r.window.launcherMessages.push_back(command(kStartButton));
    EXPECT_EQ(r.run(), Application::kExitSceneFailed);
    EXPECT_NE(Application::kExitSceneFailed, 0);
    EXPECT_EQ(r.window.boxes, (std::vector<std::string>{"QuorvArts error: Mag data corrupted"}));
    EXPECT_FALSE(r.app->sceneLoaded());
    EXPECT_EQ(r.app->mainLoop()->frameNumber(), 0);
    EXPECT_EQ(r.window.calls.back(), "showCursor 1");  // the shutdown still ran
    EXPECT_EQ(r.window.destroyed.back(), kLauncherPicture);
}

TEST(ApplicationStart, DisplayFailureShowsItsMessageAndEndsAtOnce) {
    ProgramRun r;
    FailingGraphics failing;
    r.useGraphics = &failing;
    r.window.launcherMessages.push_back(command(kStartButton));
    EXPECT_EQ(r.run(), Application::kExitDisplayFailed);
    EXPECT_EQ(static_cast<std::uint32_t>(Application::kExitDisplayFailed), 0xFFFFFFFFu);
    EXPECT_EQ(failing.requests, 3);
    EXPECT_EQ(r.window.boxes, (std::vector<std::string>{"D3D Error: D3D init failed!"}));
    EXPECT_EQ(r.store.writes, 1);  // written at stage 5, before
    EXPECT_FALSE(r.called("showCursor 1"));
}

TEST(ApplicationShutdown, TimerEndScriptsRunWhileTheItemsStillExist) {
    ProgramRun r;
    r.disk.writeScene(
        R"(<scene><item name="box" onLoad="SetTimer t 1000 5 Rec tick;SetTimerEnd t Probe"/></scene>)");
    r.window.launcherMessages.push_back(command(kStartButton));
    int probes = 0, ticks = 0;
    bool itemAliveAtTimerEnd = false;
    r.beforeRun = [&](engine::Engine& engine) {
        engine.commandTable.registerCommand("Probe", [&](std::string, Vec3, scene::ImageItem*) {
            ++probes;
            itemAliveAtTimerEnd = engine.scene.findItem("box") != nullptr;
            return true;
        });
        engine.commandTable.registerCommand("Rec", [&](std::string, Vec3, scene::ImageItem*) {
            ++ticks;
            return true;
        });
    };
    EXPECT_EQ(r.run(), 0);
    EXPECT_EQ(probes, 1);
    EXPECT_TRUE(itemAliveAtTimerEnd);
    EXPECT_TRUE(r.app->engine().scene.visuals.empty());
    EXPECT_EQ(ticks, 0);  // the timer never ticked
}

TEST(ApplicationStart, WindowIsCentredOnTheLauncherButNeverAboveOrLeftOfTheScreen) {
    ProgramRun r;
    r.window.outer = {300, 200, 570, 380};  // the launcher, centred at (435, 290)
    r.window.launcherMessages.push_back(command(kStartButton));
    r.run();
    EXPECT_TRUE(r.called("setWindowPos 0 0 1024 768"));

    ProgramRun far;
    far.window.outer = {900, 700, 1170, 880};  // centred at (1035, 790)
    far.window.borderWidth = 8;
    far.window.borderHeight = 30;
    far.window.launcherMessages.push_back(command(kStartButton));
    far.run();
    EXPECT_TRUE(far.called("setWindowPos 523 406 1024 768"));
    // Before the first frame the client area is made 1024 x 768.
    EXPECT_TRUE(far.called("setWindowSize 1032 798"));
}

TEST(ApplicationStart, ARunInStepsDoesWhatTheWholeRunDoes) {
    struct Case {
        const char* name;
        std::function<void(ProgramRun&)> set;
    };
    const std::vector<Case> cases = {
        {"closed in the first frame",
         [](ProgramRun& r) { r.window.launcherMessages.push_back(command(kStartButton)); }},
        {"launcher closed",
         [](ProgramRun& r) {
             r.window.launcherMessages.push_back({WM_CLOSE, 0, 0});
         }},
        {"scene does not parse",
         [](ProgramRun& r) {
             r.disk.writeScene("<scene>\n  <item name=\"a\">\n</scene>");
             r.window.launcherMessages.push_back(command(kStartButton));
         }},
        {"ExitApp as the scene loads",
         [](ProgramRun& r) {
             r.disk.writeScene("<scene><item name=\"a\" onLoad=\"ExitApp\"/></scene>");
             r.window.queue.clear();
             r.window.launcherMessages.push_back(command(kStartButton));
         }},
    };
    for (const Case& c : cases) {
        ProgramRun whole, stepped;
        c.set(whole);
        c.set(stepped);
        const int code = whole.run();
        EXPECT_EQ(stepped.run(true), code) << c.name;
        EXPECT_EQ(stepped.window.calls, whole.window.calls) << c.name;
        EXPECT_EQ(stepped.window.boxes, whole.window.boxes) << c.name;
        if (whole.app->mainLoop()) {
            EXPECT_EQ(stepped.app->mainLoop()->frameNumber(), whole.app->mainLoop()->frameNumber()) << c.name;
        }
        EXPECT_EQ(stepped.app->loadError(), whole.app->loadError()) << c.name;
    }
    // A scene that does not load says where.
    ProgramRun broken;
    cases[2].set(broken);
    EXPECT_EQ(broken.run(true), Application::kExitSceneFailed);
    EXPECT_NE(broken.app->loadError().find("QuorvArt.XQD:3:"), std::string::npos) << broken.app->loadError();
}

}  // namespace
}  // namespace qa::app
