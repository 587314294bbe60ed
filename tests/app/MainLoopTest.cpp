// Input events to item events (one turn a frame), clicks where the pointer is, the wheel, the
// joystick budget, hovering, the cursor conversion and the order of one frame.
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
    // Queues the events for the next frame and runs frames until no input waits: what each frame
    // gave, joined by "|".
    std::string play(std::initializer_list<InputEvent> events) {
        window.queue.insert(window.queue.end(), events);
        std::string out;
        do {
            frame();
            out += (out.empty() ? "" : "|") + take();
        } while (loop.waitingInput() > 0);
        return out;
    }
};

TEST(MainLoopInput, KeysAndButtonsBecomeTheirEvents) {
    Loop t;
    box(t.rec.scene(), "a", 0, 0, 100, 100);
    t.window.cursor = {500, 500};  // away from "a"
    t.loop.begin();
    t.frame();  // draws "a" into the input receiver list
    EXPECT_EQ(t.take(), "");

    const InputEvent left = InputEvent::buttonEvent(MouseButton::Left, InputEvent::Press::DoubleClick);
    const InputEvent right = InputEvent::buttonEvent(MouseButton::Right, InputEvent::Press::DoubleClick);
    const std::vector<std::pair<InputEvent, std::string>> table = {
        {InputEvent::keyDown(VK_RETURN), "a:1"},
        {InputEvent::keyUp(VK_RETURN), "a:2"},
        {InputEvent::keyDown(VK_ESCAPE), "a:3"},
        {InputEvent::keyUp(VK_ESCAPE), "a:4"},
        {InputEvent::keyDown(VK_PRIOR), "a:11"},
        {InputEvent::keyDown(VK_NEXT), "a:10"},
        {InputEvent::keyDown(VK_LEFT), "a:14"},
        {InputEvent::keyDown(VK_UP), "a:13"},
        {InputEvent::keyDown(VK_RIGHT), "a:15"},
        {InputEvent::keyDown(VK_DOWN), "a:12"},
        {InputEvent::keyUp(VK_DOWN), ""},
        {InputEvent::keyUp(VK_PRIOR), ""},
        {InputEvent::keyDown('A'), ""},
        {left, ""},
        {right, ""},
        {InputEvent::resized(), ""},
    };
    for (const auto& [e, events] : table) {
        EXPECT_EQ(t.play({e}), events) << "type " << static_cast<int>(e.type) << " key " << e.key;
        EXPECT_EQ(t.loop.waitingInput(), 0u);
    }

    // Buttons go to the hovered item only; with nothing under the cursor they do nothing.
    using P = InputEvent::Press;
    EXPECT_EQ(t.play({InputEvent::buttonEvent(MouseButton::Left, P::Down)}), "");
    t.window.cursor = {50, 50};
    t.frame();
    EXPECT_EQ(t.take(), "a:5");
    EXPECT_EQ(t.play({InputEvent::buttonEvent(MouseButton::Left, P::Down),
                      InputEvent::buttonEvent(MouseButton::Left, P::Up),
                      InputEvent::buttonEvent(MouseButton::Right, P::Down),
                      InputEvent::buttonEvent(MouseButton::Right, P::Up)}),
              "a:1|a:2|a:3|a:4");
    EXPECT_FALSE(t.settings.quitRequested);
    t.play({InputEvent::close()});
    EXPECT_TRUE(t.settings.quitRequested);
}

TEST(MainLoopInput, PressesInOneFrameEachMeetTheSceneTheOneBeforeLeft) {
    Loop t;
    ImageItem* a = box(t.rec.scene(), "a", 0, 0, 10, 10);
    box(t.rec.scene(), "b", 20, 0, 10, 10);  // drawn first: "a" is on top
    // The first press on "a" hides it (a:9, and the hover leaves it): the presses after it find only "b".
    *a->script(qa::scene::Event::onDown) = "Rec a:12;Hide a";
    t.loop.begin();
    t.frame();
    t.take();
    // A held Down key (the first press and two automatic repeats) and Enter, all in one frame: one a
    // frame, in order, each to the receivers the frame before it drew.
    EXPECT_EQ(
        t.play({InputEvent::keyDown(VK_DOWN), InputEvent::keyDown(VK_DOWN), InputEvent::keyDown(VK_DOWN),
                InputEvent::keyUp(VK_DOWN), InputEvent::keyDown(VK_RETURN), InputEvent::keyUp(VK_RETURN)}),
        "a:12,a:9,a:6|b:12|b:12|b:1|b:2");
    // Waiting input goes first in a frame, then what that frame brought.
    t.window.queue = {InputEvent::keyDown(VK_LEFT), InputEvent::keyDown(VK_RIGHT)};
    t.frame();
    EXPECT_EQ(t.take(), "b:14");
    EXPECT_EQ(t.play({InputEvent::keyDown(VK_UP)}), "b:15|b:13");
}

TEST(MainLoopInput, AButtonGoesToTheItemUnderThePointerAsTheLastFrameShowedIt) {
    Loop t;
    box(t.rec.scene(), "a", 0, 0, 100, 100);
    ImageItem* b = box(t.rec.scene(), "b", 0, 200, 100, 100);
    t.loop.begin();
    t.window.cursor = {50, 50};
    t.frame();
    EXPECT_EQ(t.take(), "a:5");
    using P = InputEvent::Press;
    const MouseButton L = MouseButton::Left;
    // The pointer jumps to "b" and presses in the same frame (a tap): the hover moves first.
    t.window.cursor = {50, 250};
    EXPECT_EQ(
        t.play({InputEvent::buttonAt(L, P::Down, {50, 250}), InputEvent::buttonAt(L, P::Up, {50, 250})}),
        "a:6,b:5,b:1|b:2");
    EXPECT_EQ(t.loop.hovered(), b);
    EXPECT_FLOAT_EQ(t.rec.scene().cursor.y, 250.0f);
    // Pressed over nothing: the hover goes, the press reaches no item.
    t.window.cursor = {500, 500};
    EXPECT_EQ(t.play({InputEvent::buttonAt(L, P::Down, {500, 500})}), "b:6");
    t.frame();
    // "b" moves after the frame was drawn: the press where the viewer saw it still reaches it (and
    // the frame's hover step then finds it gone from under the pointer).
    b->position = {300, 300, 0};
    t.window.cursor = {50, 250};
    EXPECT_EQ(t.play({InputEvent::buttonAt(MouseButton::Right, P::Down, {50, 250})}), "b:5,b:3,b:6");
}

TEST(MainLoopInput, WheelNeedsASecondNotchAndCancelsTheOtherWayFirst) {
    Loop t;
    box(t.rec.scene(), "a", 0, 0, 10, 10);
    t.loop.begin();
    t.frame();
    t.take();
    auto notch = [&](int delta) { return t.play({InputEvent::wheel(delta / 120.0)}); };
    EXPECT_EQ(notch(120), "");
    EXPECT_EQ(notch(120), "a:13");
    EXPECT_EQ(notch(-120), "");
    EXPECT_EQ(notch(-120), "");
    EXPECT_EQ(notch(-120), "a:12");
    // A turn of several notches at once gives one event per notch beyond the first, a frame each.
    EXPECT_EQ(notch(-360), "a:12|a:12|a:12");
    EXPECT_EQ(notch(240), "");
    EXPECT_EQ(notch(15), "a:13");  // 135: above one notch
    EXPECT_EQ(notch(90), "");
    EXPECT_EQ(notch(15), "");  // exactly 120 is not above it
    EXPECT_EQ(notch(1), "a:13");
    // Fractions of a smooth wheel gather; a wild value cannot flood the items.
    EXPECT_EQ(t.play({InputEvent::wheel(0.5)}), "");  // 1 + 60
    EXPECT_EQ(t.play({InputEvent::wheel(0.5)}), "a:13");
    t.window.queue = {InputEvent::wheel(1e12)};
    t.frame();
    EXPECT_LE(t.loop.waitingInput(), 256u);
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
    t.joystick.readable = false;  // the frames do not poll: the steps below are the polls
    t.loop.detectJoystick();
    t.loop.begin();
    t.frame();
    t.take();
    // One poll's events take a frame each.
    auto step = [&](const platform::JoystickState& s) {
        t.loop.joystickStep(s);
        std::string first = t.take();
        if (t.loop.waitingInput() == 0) return first;
        const std::string rest = t.play({});
        return first.empty() ? rest : first + "|" + rest;
    };
    // Range / 4 = 16383 either side of the centre 32767 is still the middle.
    EXPECT_EQ(step({32767 + 16383, 32767 - 16383, 0}), "");
    EXPECT_EQ(step({32767 + 16384, 32767 - 16384, 0}), "a:15|a:13");
    EXPECT_EQ(step({0, 65535, 1}), "a:14|a:12|a:1");
    EXPECT_EQ(step({32767, 32767, 3}), "a:3");
    EXPECT_EQ(step({32767, 32767, 3}), "");
    EXPECT_EQ(step({32767, 32767, 0}), "a:2|a:4");

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
    EXPECT_EQ(t.play({InputEvent::keyDown(VK_UP)}), "front:13,back:13");
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

    // The client area shrank: the next input event resizes the window, keeping its place.
    t.window.client = {0, 0, 800, 600};
    t.window.outer = {100, 50, 908, 680};
    t.frame();
    EXPECT_TRUE(t.window.calls.empty());  // no event, no correction
    t.window.queue.push_back(InputEvent::resized());
    t.frame();
    ASSERT_EQ(t.window.calls.size(), 1u);
    EXPECT_EQ(t.window.calls[0], "setWindowSize 1032 798");
    EXPECT_EQ(t.window.client.width(), 1024);
    EXPECT_EQ(t.window.client.height(), 768);

    // Unreadable rectangles: no correction.
    t.window.calls.clear();
    t.window.client = {0, 0, 640, 480};
    t.window.rectsReadable = false;
    t.window.queue.push_back(InputEvent::resized());
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
    std::unique_ptr<platform::gfx::Device> createDevice(int, platform::gfx::DeviceType, GameWindow*,
                                                        std::uint32_t,
                                                        const platform::gfx::PresentParameters&) override {
        return std::make_unique<LoggingDevice>();
    }
};

bool logCommand(std::string arg, Vec3, ImageItem*) {
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
    ASSERT_TRUE(display.create(1024, 768, 0, 16, 1, 0, 1));
    t.loop.setDisplay(&display);
    t.rec.engine().tracks.append(std::make_unique<EndedTrack>("one"));
    t.rec.engine().tracks.append(std::make_unique<EndedTrack>("two"));
    ImageItem* a = box(t.rec.scene(), "a", 0, 0, 10, 10);
    t.rec.engine().commands.app.setClose([&] { t.settings.quitRequested = true; });
    t.rec.engine().commandTable.registerCommand("Log", &logCommand);
    *a->script(qa::scene::Event::onDown) = "Log input;ExitApp";
    t.loop.begin();
    t.frame();
    t.take();
    log.clear();

    t.window.queue.push_back(InputEvent::keyDown(VK_DOWN));
    t.loop.run();  // one frame: the key asks to quit, the frame still completes
    EXPECT_TRUE(t.settings.quitRequested);
    EXPECT_EQ(log,
              (std::vector<std::string>{"input", "clear", "begin", "end", "present", "track?", "play one"}));
    EXPECT_EQ(t.loop.frameNumber(), 2);

    t.rec.engine().commands.app.setClose(nullptr);
    t.rec.engine().tracks.destroyAll();
    t.loop.setDisplay(nullptr);
    display.release();
    frameLog = nullptr;
}

}  // namespace
}  // namespace qa::app
