// The running-mode window procedure, the wheel, the joystick budget, hovering, the cursor
// conversion and the order of one frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/DisplayDevice.h"
#include "app/MainLoop.h"
#include "engine/Settings.h"
#include "platform/gfx/null/NullDevice.h"
#include "platform/gfx/null/NullGraphics.h"
#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "script/AppCommands.h"
#include "script/CommandTable.h"
#include "sound/SoundObject.h"
#include "sound/TrackList.h"
#include "support/FakeInput.h"
#include "support/FakeWindow.h"
#include "support/ScriptRecorder.h"

namespace qa::app {
namespace {

using namespace platform::window;
using scene::ImageItem;
using test::FakeClock;
using test::FakeJoystick;
using test::FakeWindow;
using test::ScriptRecorder;

// A root item covering [x, x + w) x [y, y + h) whose scripts record "name:event".
ImageItem* box(scene::SceneState& scene, const std::string& name, float x, float y, float w, float h) {
    auto* i = scene.make<ImageItem>("");
    i->name = name;
    i->position = {x, y, 0};
    i->size = {w, h, 0};
    i->centre = {0, 0, 0};
    for (int e = 1; e <= 15; ++e)
        *i->script(static_cast<scene::Event>(e)) = "Rec " + name + ":" + std::to_string(e);
    scene.rootItems.push_back(i);
    return i;
}

struct Loop {
    ScriptRecorder rec;
    engine::Settings& settings = rec.engine().settings;
    FakeWindow window;
    FakeClock clock;
    FakeJoystick joystick;
    MainLoop loop{rec.engine(), window, clock, joystick, nullptr};

    Loop() {
        window.setWindowProc([this](const Message& m) { return loop.windowProc(m); });
    }
    ~Loop() { window.setWindowProc(nullptr); }

    // Runs one frame that takes ms milliseconds.
    void frame(std::uint32_t ms = 16) {
        clock.time += ms;
        loop.frame();
    }
    std::string take() {
        std::string s = rec.joined();
        rec.calls().clear();
        return s;
    }
};

TEST(MainLoopInput, KeysAndButtonsBecomeTheirEvents) {
    Loop t;
    box(t.rec.scene(), "a", 0, 0, 100, 100);
    t.window.cursor = {500, 500};  // away from "a"
    t.loop.begin();
    t.frame();  // draws "a" into the input receiver list
    EXPECT_EQ(t.take(), "");

    const std::vector<std::pair<Message, std::string>> table = {
        {{WM_KEYDOWN, VK_RETURN, 0}, "a:1"},
        {{WM_KEYUP, VK_RETURN, 0}, "a:2"},
        {{WM_KEYDOWN, VK_ESCAPE, 0}, "a:3"},
        {{WM_KEYUP, VK_ESCAPE, 0}, "a:4"},
        {{WM_KEYDOWN, VK_PRIOR, 0}, "a:11"},
        {{WM_KEYDOWN, VK_NEXT, 0}, "a:10"},
        {{WM_KEYDOWN, VK_LEFT, 0}, "a:14"},
        {{WM_KEYDOWN, VK_UP, 0}, "a:13"},
        {{WM_KEYDOWN, VK_RIGHT, 0}, "a:15"},
        {{WM_KEYDOWN, VK_DOWN, 0}, "a:12"},
        {{WM_KEYUP, VK_DOWN, 0}, ""},
        {{WM_KEYUP, VK_PRIOR, 0}, ""},
        {{WM_KEYDOWN, 'A', 0}, ""},
        {{WM_SYSKEYDOWN, VK_RETURN, 0}, ""},
        {{WM_LBUTTONDBLCLK, 0, 0}, ""},
        {{WM_RBUTTONDBLCLK, 0, 0}, ""},
        {{WM_MOUSEMOVE, 0, 0}, ""},
        {{WM_SIZE, 0, 0}, ""},
        {{WM_SYSCOMMAND, SC_MAXIMIZE, 0}, ""},
        {{WM_DESTROY, 0, 0}, ""},
    };
    for (const auto& [m, events] : table) {
        t.window.dispatch(m);
        EXPECT_EQ(t.take(), events) << "message " << m.message << " key " << m.wParam;
    }

    // Buttons go to the hovered item only; with nothing under the cursor they do nothing.
    t.window.dispatch({WM_LBUTTONDOWN, 0, 0});
    EXPECT_EQ(t.take(), "");
    t.window.cursor = {50, 50};
    t.frame();
    EXPECT_EQ(t.take(), "a:5");
    for (std::uint32_t m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP})
        t.window.dispatch({m, 0, 0});
    EXPECT_EQ(t.take(), "a:1,a:2,a:3,a:4");
    EXPECT_FALSE(t.settings.quitRequested);
}

TEST(MainLoopInput, EveryRepeatedKeyDownCountsAndTheReleaseOfEnterGoesOnItsOwn) {
    Loop t;
    ImageItem* a = box(t.rec.scene(), "a", 0, 0, 10, 10);
    ImageItem* b = box(t.rec.scene(), "b", 20, 0, 10, 10);  // drawn first: "a" is on top
    *a->script(qa::scene::Event::onSubmit) = "Rec +a:1";    // a handles the press, not the release
    t.loop.begin();
    t.frame();
    t.take();
    // A held Down key: the first press and two automatic repeats (previous-state bit set).
    const std::int64_t repeat = std::int64_t{1} << 30;
    t.window.queue = {{WM_KEYDOWN, VK_DOWN, 1},
                      {WM_KEYDOWN, VK_DOWN, 1 | repeat},
                      {WM_KEYDOWN, VK_DOWN, 1 | repeat},
                      {WM_KEYUP, VK_DOWN, 0}};
    t.frame();
    EXPECT_EQ(t.take(), "a:12,b:12,a:12,b:12,a:12,b:12");
    t.window.queue = {{WM_KEYDOWN, VK_RETURN, 1}, {WM_KEYUP, VK_RETURN, 0}};
    t.frame();
    EXPECT_EQ(t.take(), "+a:1,a:2,b:2");
    (void)b;
}

TEST(MainLoopInput, WheelNeedsASecondNotchAndCancelsTheOtherWayFirst) {
    Loop t;
    box(t.rec.scene(), "a", 0, 0, 10, 10);
    t.loop.begin();
    t.frame();
    t.take();
    auto notch = [&](int delta) {
        t.window.dispatch(
            {WM_MOUSEWHEEL, static_cast<std::uint64_t>(static_cast<std::uint16_t>(delta)) << 16, 0});
        return t.take();
    };
    EXPECT_EQ(notch(120), "");
    EXPECT_EQ(notch(120), "a:13");
    EXPECT_EQ(notch(-120), "");
    EXPECT_EQ(notch(-120), "");
    EXPECT_EQ(notch(-120), "a:12");
    // A delta of several notches at once gives one event per notch beyond the first.
    EXPECT_EQ(notch(-360), "a:12,a:12,a:12");
    EXPECT_EQ(notch(240), "");
    EXPECT_EQ(notch(15), "a:13");  // 135: above one notch
    EXPECT_EQ(notch(90), "");
    EXPECT_EQ(notch(15), "");  // exactly 120 is not above it
    EXPECT_EQ(notch(1), "a:13");
}

TEST(MainLoopJoystick, PollsOncePer140MsOfFrameTimeAtMostOncePerFrame) {
    Loop t;
    box(t.rec.scene(), "a", 0, 0, 10, 10);
    t.loop.detectJoystick();
    ASSERT_TRUE(t.loop.joystickPresent());
    t.joystick.state = {65535, 32767, 0};  // held fully right
    t.window.cursorKnown = false;
    t.loop.begin();
    std::vector<int> pollFrames;
    for (int f = 1; f <= 30; ++f) {
        const int before = t.joystick.reads;
        t.frame(16);
        const std::string got = t.take();
        if (t.joystick.reads != before) {
            pollFrames.push_back(f);
            // The first poll finds nothing drawn yet: events go to the previous frame's items.
            EXPECT_EQ(got, f == 1 ? "" : "a:15");
        } else {
            EXPECT_EQ(got, "");
        }
    }
    // Each poll takes 140 ms from the budget; 16 ms frames refill it in eight or nine frames.
    EXPECT_EQ(pollFrames, (std::vector<int>{1, 9, 18, 27}));

    // A frame of one second: every following frame polls until the budget is spent.
    t.frame(1000);
    EXPECT_EQ(t.take(), "a:15");
    int polls = 0;
    for (int f = 0; f < 12; ++f) {
        t.frame(16);
        if (!t.take().empty()) ++polls;
    }
    // The budget of 780 left after the long frame lasts seven more 16 ms frames.
    EXPECT_EQ(polls, 7);
}

TEST(MainLoopJoystick, StickDirectionsAndButtonChanges) {
    Loop t;
    box(t.rec.scene(), "a", 0, 0, 10, 10);
    t.joystick.caps = {0, 65535, 0, 65535};
    t.loop.detectJoystick();
    t.loop.begin();
    t.frame();
    t.take();
    // Range / 4 = 16383 either side of the centre 32767 is still the middle.
    t.loop.joystickStep({32767 + 16383, 32767 - 16383, 0});
    EXPECT_EQ(t.take(), "");
    t.loop.joystickStep({32767 + 16384, 32767 - 16384, 0});
    EXPECT_EQ(t.take(), "a:15,a:13");
    t.loop.joystickStep({0, 65535, 1});
    EXPECT_EQ(t.take(), "a:14,a:12,a:1");
    t.loop.joystickStep({32767, 32767, 3});
    EXPECT_EQ(t.take(), "a:3");
    t.loop.joystickStep({32767, 32767, 3});
    EXPECT_EQ(t.take(), "");
    t.loop.joystickStep({32767, 32767, 0});
    EXPECT_EQ(t.take(), "a:2,a:4");

    // No joystick: never polled, the budget still runs.
    Loop none;
    none.joystick.present = false;
    none.loop.detectJoystick();
    none.loop.begin();
    for (int f = 0; f < 20; ++f) none.frame();
    EXPECT_EQ(none.joystick.reads, 0);
}

TEST(MainLoopHover, OldItemHearsOfItBeforeTheNewOne) {
    Loop t;
    box(t.rec.scene(), "a", 0, 0, 100, 100);
    box(t.rec.scene(), "b", 200, 0, 100, 100);
    t.loop.begin();
    t.window.cursor = {50, 50};
    t.frame();
    EXPECT_EQ(t.take(), "a:5");
    t.frame();
    EXPECT_EQ(t.take(), "");  // still over "a": nothing
    t.window.cursor = {250, 50};
    t.frame();
    EXPECT_EQ(t.take(), "a:6,b:5");
    t.window.cursor = {600, 600};
    t.frame();
    EXPECT_EQ(t.take(), "b:6");
    // An unreadable cursor skips the test: nothing changes.
    t.window.cursor = {50, 50};
    t.window.cursorKnown = false;
    t.frame();
    EXPECT_EQ(t.take(), "");
    EXPECT_EQ(t.loop.hovered(), nullptr);
}

TEST(MainLoopHover, OverlappingRootsTheFrontOneIsHovered) {
    Loop t;
    box(t.rec.scene(), "front", 0, 0, 100, 100);
    box(t.rec.scene(), "back", 50, 50, 100, 100);
    t.loop.begin();
    t.window.cursor = {75, 75};
    t.frame();
    EXPECT_EQ(t.take(), "front:5");
    // The front root is drawn last, so it is first in the input receiver list.
    t.window.dispatch({WM_KEYDOWN, VK_UP, 0});
    EXPECT_EQ(t.take(), "front:13,back:13");
}

TEST(MainLoopWindow, CursorGoesThroughTheRecordedRectanglesAndTheClientIsKeptAt1024x768) {
    Loop t;
    t.window.outer = {100, 50, 1124 + 8, 818 + 30};
    t.window.client = {0, 0, 1024, 768};
    t.window.borderWidth = 8;
    t.window.borderHeight = 30;
    t.loop.begin();
    EXPECT_TRUE(t.window.calls.empty());
    // Client pixel (0, 0) of a window with 4-pixel sides, a caption and a 4-pixel bottom edge.
    t.window.cursor = {104, 76};
    t.frame();
    EXPECT_FLOAT_EQ(t.rec.scene().cursor.x, 0.0f);
    EXPECT_FLOAT_EQ(t.rec.scene().cursor.y, 0.0f);

    // The client area shrank: the next dispatched message resizes the window, keeping its place.
    t.window.client = {0, 0, 800, 600};
    t.window.outer = {100, 50, 908, 680};
    t.frame();
    EXPECT_TRUE(t.window.calls.empty());  // no message, no correction
    t.window.queue.push_back({WM_SIZE, 0, 0});
    t.frame();
    ASSERT_EQ(t.window.calls.size(), 1u);
    EXPECT_EQ(t.window.calls[0], "setWindowSize 1032 798");
    EXPECT_EQ(t.window.client.width(), 1024);
    EXPECT_EQ(t.window.client.height(), 768);

    // Unreadable rectangles: no correction.
    t.window.calls.clear();
    t.window.client = {0, 0, 640, 480};
    t.window.rectsReadable = false;
    t.window.queue.push_back({WM_SIZE, 0, 0});
    t.frame();
    EXPECT_TRUE(t.window.calls.empty());
}

TEST(MainLoopTime, ElapsedTimeSurvivesTheCounterWrapping) {
    Loop t;
    t.clock.time = 0xFFFFFFF0u;
    t.loop.begin();
    t.frame(0x20);  // the counter wraps to 0x10
    EXPECT_EQ(t.clock.time, 0x10u);
    EXPECT_EQ(t.loop.elapsed(), 0x20u);
    t.frame(16);
    EXPECT_EQ(t.loop.elapsed(), 16u);
}

// Notes what the device is asked to do and when.
std::vector<std::string>* frameLog = nullptr;

class LoggingDevice : public platform::gfx::NullDevice {
  public:
    bool clear(std::uint32_t, std::uint32_t colour, float, std::uint32_t) override {
        frameLog->push_back(colour == 0xFF000000u ? "clear" : "clear?");
        return true;
    }
    bool beginScene() override {
        frameLog->push_back("begin");
        return true;
    }
    bool endScene() override {
        frameLog->push_back("end");
        return true;
    }
    bool present() override {
        frameLog->push_back("present");
        return true;
    }
};

class LoggingGraphics : public platform::gfx::Graphics {
  public:
    std::unique_ptr<platform::gfx::Device> createDevice(int, platform::gfx::DeviceType, Window*,
                                                        std::uint32_t,
                                                        const platform::gfx::PresentParameters&) override {
        return std::make_unique<LoggingDevice>();
    }
};

bool logCommand(std::string arg, platform::Vec3, ImageItem*) {
    frameLog->push_back(arg);
    return false;
}

// A track that has always just ended, so the list moves on every frame.
class EndedTrack : public sound::SoundObject {
  public:
    explicit EndedTrack(std::string n) : SoundObject(std::move(n)) {}
    bool IsLoaded() override { return true; }
    bool Play(bool) override {
        frameLog->push_back("play " + name);
        return true;
    }
    bool IsPlaying() override {
        frameLog->push_back("track?");
        return false;
    }
    bool Stop() override { return true; }
    bool SetVolume(float) override { return true; }
    float GetVolume() override { return 1; }
    bool SetFrequency(float) override { return true; }
    float GetFrequency() override { return 1; }
    bool SetPosition(float) override { return true; }
    float GetPosition() override { return 0; }
    float GetTime() override { return 0; }
    bool SetLoop(bool) override { return true; }
    bool GetLoop() override { return false; }
    bool SetPan(float) override { return true; }
    float GetPan() override { return 0; }
};

TEST(MainLoopFrame, InputThenDrawingThenPresentThenMusicAndTheQuittingFrameCompletes) {
    Loop t;
    std::vector<std::string> log;
    frameLog = &log;
    LoggingGraphics graphics;
    DisplayDevice display(&graphics, &t.window);
    ASSERT_TRUE(display.create(1024, 768, 0, 16, 32, 1, 0, 1));
    t.loop.setDisplay(&display);
    t.rec.engine().tracks.append(std::make_unique<EndedTrack>("one"));
    t.rec.engine().tracks.append(std::make_unique<EndedTrack>("two"));
    ImageItem* a = box(t.rec.scene(), "a", 0, 0, 10, 10);
    t.rec.engine().commands.app.setWindow(&t.window);
    t.rec.engine().commandTable.registerCommand("Log", &logCommand);
    *a->script(qa::scene::Event::onDown) = "Log input;ExitApp";
    t.loop.begin();
    t.frame();
    t.take();
    log.clear();

    t.window.queue.push_back({WM_KEYDOWN, VK_DOWN, 0});
    t.loop.run();  // one frame: the key asks to quit, the frame still completes
    EXPECT_TRUE(t.settings.quitRequested);
    EXPECT_EQ(log,
              (std::vector<std::string>{"input", "clear", "begin", "end", "present", "track?", "play one"}));
    EXPECT_EQ(t.loop.frameNumber(), 2);

    t.rec.engine().commands.app.setWindow(nullptr);
    t.rec.engine().tracks.destroyAll();
    t.loop.setDisplay(nullptr);
    display.release();
    frameLog = nullptr;
}

}  // namespace
}  // namespace qa::app
