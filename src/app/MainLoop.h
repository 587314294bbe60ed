// The frame loop and input: window messages, keys, buttons and wheel become item events; the
// joystick is polled; the scene is drawn; the hovered item is found; tracks and timers move on.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Joystick.h"
#include "platform/Vec3.h"
#include "platform/window/Window.h"
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
    MainLoop(engine::Engine& engine, platform::window::Window& window, platform::Clock& clock,
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
    // Forgets the hovered item (its scene is being destroyed).
    void forgetItems() { hovered_ = nullptr; }

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

    // The running-mode window procedure.
    std::int64_t windowProc(const platform::window::Message& m);
    // Offers an event to the input receiver list, topmost first, until an item handles it.
    void offer(scene::Event event);
    // Sends an event to the hovered item, if any.
    void sendToHovered(scene::Event event);
    // The wheel: accumulates the delta and offers onDown and onUp per full notch beyond the first.
    void wheel(std::int32_t delta);
    // One joystick poll with the position read.
    void joystickStep(const platform::JoystickState& state);

    scene::ImageItem* hovered() const { return hovered_; }
    bool joystickPresent() const { return joystickPresent_; }
    int frameNumber() const { return frameNumber_; }
    // The time the last frame took, in milliseconds (the counter's wrap taken into account).
    std::uint32_t elapsed() const { return elapsed_; }

  private:
    void messages();
    void hover();

    engine::Engine& engine_;
    engine::Settings& settings_;
    platform::window::Window& window_;
    platform::Clock& clock_;
    platform::Joystick& joystick_;
    DisplayDevice* display_;
    FrameObserver* observer_ = nullptr;
    scene::Visual* cursor_ = nullptr;
    std::function<void()> frameHook_;
    std::function<void()> overlay_;
    std::function<void()> presentedHook_;

    std::uint32_t previousTime_ = 0;
    std::uint32_t elapsed_ = 0;
    std::int32_t joystickAccumulator_ = 0;
    bool joystickPresent_ = false;
    std::uint32_t xCentre_ = 0, yCentre_ = 0, xRange_ = 0, yRange_ = 0;
    std::uint32_t previousButtons_ = 0;
    std::int32_t wheelAccumulator_ = 0;
    scene::ImageItem* hovered_ = nullptr;
    platform::window::Rect clientRect_;
    platform::window::Rect windowRect_;
    int frameNumber_ = 0;
};

}  // namespace qa::app
