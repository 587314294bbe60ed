// The frame loop and input: the window's input events, keys, buttons and wheel, become item events;
// the joystick is polled; the scene is drawn; the hovered item is found; tracks and timers move on.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>

#include "app/DrawnGeometry.h"
#include "common/Vec3.h"
#include "platform/Joystick.h"
#include "platform/window/GameWindow.h"
#include "platform/window/InputEvent.h"
#include "scene/Event.h"

namespace qa::platform {
class Clock;
}
namespace qa::scene {
class Visual;
class ImageItem;
}  // namespace qa::scene

namespace qa::engine {
class Engine;
struct Settings;
}  // namespace qa::engine

namespace qa::app {

class DisplayDevice;
class FrameObserver;

class MainLoop {
  public:
    static constexpr std::int32_t kJoystickPollMs = 140;
    static constexpr std::uint32_t kClearColour = 0xFF000000u;

    // Runs the scene, timers and tracks of `engine`, ending on its quit requested flag.
    MainLoop(engine::Engine& engine, platform::window::GameWindow& window, platform::Clock& clock,
             platform::Joystick& joystick, DisplayDevice* display);

    void setObserver(FrameObserver* observer) { observer_ = observer; }
    void setDisplay(DisplayDevice* display) { display_ = display; }
    void setCursorPicture(scene::Visual* cursor) { cursor_ = cursor; }
    // Called at the start of every frame, before its messages (the place where a scene may be
    // rebuilt); after the scene is drawn, before the cursor (what is drawn over the scene); and
    // right after the frame is presented.
    void setFrameHook(std::function<void()> hook) { frameHook_ = std::move(hook); }
    void setOverlay(std::function<void()> overlay) { overlay_ = std::move(overlay); }
    void setPresentedHook(std::function<void()> hook) { presentedHook_ = std::move(hook); }
    // Called with every input event the window gives, before the loop handles it.
    void setInputHook(std::function<void(const platform::window::InputEvent&)> hook) {
        inputHook_ = std::move(hook);
    }
    // Forgets the hovered item and where items were drawn (their scene is being destroyed).
    void forgetItems() {
        hovered_ = nullptr;
        drawn_.clear();
    }

    // Joystick detection: reads the capabilities of joystick 0 and keeps its calibration.
    void detectJoystick();
    // Records the client and window rectangles (done once before the first frame, then after every
    // dispatched message).
    void recordRectangles();
    // Runs frames until the quit requested flag is set at the end of one.
    void run();
    // One frame; the loop calls it after `begin()`.
    void begin();
    void frame();

    // One input event from the window. What it asks of the items waits its turn: one key, wheel
    // notch, joystick move or button acts in a frame, in the order they came, so that each meets
    // the scene as the one before left it.
    void handle(const platform::window::InputEvent& e);
    // Offers an event to the input receiver list, topmost first, until an item handles it.
    void offer(scene::Event event);
    // Sends an event to the hovered item, if any.
    void sendToHovered(scene::Event event);
    // One joystick poll with the position read: its moves and button changes take their turns.
    void joystickStep(const platform::JoystickState& state);
    // Input that has not had its turn yet.
    std::size_t waitingInput() const { return waiting_.size(); }

    scene::ImageItem* hovered() const { return hovered_; }
    bool joystickPresent() const { return joystickPresent_; }
    int frameNumber() const { return frameNumber_; }
    // The time the last frame took, in milliseconds (the counter's wrap taken into account).
    std::uint32_t elapsed() const { return elapsed_; }

  private:
    // What an input event asks of the items: an event offered to the input receivers, or a button
    // event for the item under the pointer.
    struct Turn {
        Turn(scene::Event e) : event(e) {}  // NOLINT(google-explicit-constructor): {event} reads best
        scene::Event event;
        bool button = false;
        bool hasPosition = false;
        Vec3 position;  // virtual-screen units
    };
    void messages();
    void hover();
    void key(const platform::window::InputEvent& e);
    void button(const platform::window::InputEvent& e);
    // The wheel: accumulates the turn and asks for onDown and onUp per full notch beyond the first.
    void wheel(double notches);
    // Queues a turn and takes it at once when this frame has not had one.
    void ask(const Turn& turn);
    void takeTurn();
    void press(const Turn& turn);
    // Moves the hover to `item` (off the old one, on to the new one), as the hover step would.
    void hoverTo(scene::ImageItem* item);
    // The item under a point in the item tree as it stands now.
    scene::ImageItem* itemAt(Vec3 point) const;

    engine::Engine& engine_;
    engine::Settings& settings_;
    platform::window::GameWindow& window_;
    platform::Clock& clock_;
    platform::Joystick& joystick_;
    DisplayDevice* display_;
    FrameObserver* observer_ = nullptr;
    scene::Visual* cursor_ = nullptr;
    std::function<void()> frameHook_;
    std::function<void()> overlay_;
    std::function<void()> presentedHook_;
    std::function<void(const platform::window::InputEvent&)> inputHook_;

    std::uint32_t previousTime_ = 0;
    std::uint32_t elapsed_ = 0;
    std::int32_t joystickAccumulator_ = 0;
    bool joystickPresent_ = false;
    std::uint32_t xCentre_ = 0, yCentre_ = 0, xRange_ = 0, yRange_ = 0;
    std::uint32_t previousButtons_ = 0;
    double wheelAccumulator_ = 0;  // in 120ths of a notch
    std::deque<Turn> waiting_;
    bool turnTaken_ = false;  // this frame's turn
    scene::ImageItem* hovered_ = nullptr;
    DrawnGeometry drawn_;
    platform::window::Rect clientRect_;
    platform::window::Rect windowRect_;
    int frameNumber_ = 0;
};

}  // namespace qa::app
