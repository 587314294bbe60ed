// The frame loop in its fixed order, and the turning of input into item events.
#include "app/MainLoop.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/DisplayDevice.h"
#include "app/FrameObserver.h"
#include "engine/Engine.h"
#include "platform/Clock.h"
#include "scene/ImageItem.h"

namespace qa::app {

using namespace platform::window;
using scene::Event;

namespace {

// Input waiting beyond this is dropped: a flood (a wild wheel value) cannot keep the items busy for
// minutes. Typing and key repeat stay far below it at any frame rate.
constexpr std::size_t kMaxWaitingInput = 256;
// Hover changes a press may follow before it acts: enough for a highlight over a button, bounded
// for items whose hover scripts hand the pointer back and forth.
constexpr int kHoverFollowLimit = 4;

}  // namespace

MainLoop::MainLoop(engine::Engine& engine, GameWindow& window, platform::Clock& clock,
                   platform::Joystick& joystick, DisplayDevice* display)
    : engine_(engine),
      settings_(engine.settings),
      window_(window),
      clock_(clock),
      joystick_(joystick),
      display_(display) {}

void MainLoop::detectJoystick() {
    platform::JoystickCaps caps;
    joystickPresent_ = joystick_.capabilities(caps);
    if (!joystickPresent_) return;
    xCentre_ = (caps.minX + caps.maxX) >> 1;
    xRange_ = caps.maxX - caps.minX;
    yCentre_ = (caps.minY + caps.maxY) >> 1;
    yRange_ = caps.maxY - caps.minY;
}

void MainLoop::recordRectangles() {
    Rect client, outer;
    if (!window_.clientRect(client) || !window_.windowRect(outer)) return;
    clientRect_ = client;
    windowRect_ = outer;
    if (client.width() != settings_.screenWidth || client.height() != settings_.screenHeight) {
        window_.setWindowSize(outer.width() + (settings_.screenWidth - client.width()),
                              outer.height() + (settings_.screenHeight - client.height()));
    }
}

void MainLoop::run() {
    begin();
    do {
        frame();
    } while (!settings_.quitRequested);
}

void MainLoop::begin() {
    joystickAccumulator_ = 0;
    previousTime_ = clock_.now();
    recordRectangles();
}

void MainLoop::frame() {
    ++frameNumber_;
    if (observer_) observer_->frameStarting(frameNumber_);
    if (frameHook_) frameHook_();

    // 1. Time.
    const std::uint32_t now = clock_.now();
    elapsed_ = now - previousTime_;

    // 2. Messages.
    messages();

    // 3. Joystick: one poll per 140 ms of frame time, at most one per frame.
    std::int64_t acc = static_cast<std::int64_t>(joystickAccumulator_) + elapsed_;
    joystickAccumulator_ = static_cast<std::int32_t>(std::min<std::int64_t>(acc, INT32_MAX));
    if (joystickAccumulator_ > 0) {
        joystickAccumulator_ -= kJoystickPollMs;
        platform::JoystickState state;
        if (joystickPresent_ && joystick_.read(state)) joystickStep(state);
    }

    // 4-7. Clear, begin the scene, rebuild the input receiver list while drawing back to front.
    scene::SceneState& scene = engine_.scene;
    if (display_) {
        display_->clear(kClearColour);
        display_->beginScene();
    }
    scene.drawnItems.clear();
    for (auto it = scene.rootItems.rbegin(); it != scene.rootItems.rend(); ++it) (*it)->draw();
    drawn_.record(scene.rootItems);

    if (overlay_) overlay_();

    // 8. Cursor and hover.
    hover();

    // 9. The cursor picture, always at its last position.
    if (cursor_) cursor_->draw();

    // 10. End the scene and present.
    if (display_) {
        display_->endScene();
        display_->present();
    }
    if (observer_) observer_->framePresented(frameNumber_);
    if (presentedHook_) presentedHook_();

    // 11. Music.
    engine_.tracks.advance();

    // 12. Timers.
    engine_.timers.pass(elapsed_ * 0.001);

    // 13. The previous frame time moves on (the loop itself ends on the quit flag).
    previousTime_ = now;
}

void MainLoop::messages() {
    // The turn of this frame goes to input that waited since an earlier frame first.
    turnTaken_ = false;
    takeTurn();
    InputEvent e;
    while (window_.pollEvent(e)) {
        if (inputHook_) inputHook_(e);
        handle(e);
        recordRectangles();
    }
}

void MainLoop::hover() {
    Point p;
    if (!window_.cursorPos(p)) return;
    scene::SceneState& scene = engine_.scene;
    scene.cursor = DisplayDevice::toVirtual(p, clientRect_.width(), clientRect_.height(), windowRect_);
    if (cursor_) cursor_->position = scene.cursor;
    hoverTo(itemAt(scene.cursor));
}

void MainLoop::hoverTo(scene::ImageItem* item) {
    if (item == hovered_) return;
    scene::ImageItem* old = hovered_;
    hovered_ = item;
    const Vec3 cursor = engine_.scene.cursor;
    if (old) old->fireEvent(Event::onHoverOff, cursor);
    if (item) item->fireEvent(Event::onHoverOn, cursor);
}

void MainLoop::handle(const InputEvent& e) {
    switch (e.type) {
        case InputEvent::Type::Key:
            key(e);
            break;
        case InputEvent::Type::Button:
            button(e);
            break;
        case InputEvent::Type::Wheel:
            wheel(e.notches);
            break;
        case InputEvent::Type::Close:
            settings_.quitRequested = true;
            break;
        case InputEvent::Type::Resized:
            break;
    }
}

void MainLoop::key(const InputEvent& e) {
    if (e.press == InputEvent::Press::Up) {
        if (e.key == VK_RETURN) ask({Event::onSubmitUp});
        if (e.key == VK_ESCAPE) ask({Event::onEscapeUp});
        return;
    }
    switch (e.key) {
        case VK_RETURN:
            ask({Event::onSubmit});
            break;
        case VK_ESCAPE:
            ask({Event::onEscape});
            break;
        case VK_PRIOR:
            ask({Event::onPgUp});
            break;
        case VK_NEXT:
            ask({Event::onPgDn});
            break;
        case VK_LEFT:
            ask({Event::onLeft});
            break;
        case VK_UP:
            ask({Event::onUp});
            break;
        case VK_RIGHT:
            ask({Event::onRight});
            break;
        case VK_DOWN:
            ask({Event::onDown});
            break;
        default:
            break;
    }
}

void MainLoop::button(const InputEvent& e) {
    // The second press of a double click is not a press to the items.
    if (e.press == InputEvent::Press::DoubleClick) return;
    const bool left = e.button == MouseButton::Left;
    const bool down = e.press == InputEvent::Press::Down;
    Turn turn{left ? (down ? Event::onSubmit : Event::onSubmitUp)
                   : (down ? Event::onEscape : Event::onEscapeUp)};
    turn.button = true;
    if (e.hasPosition) {
        turn.hasPosition = true;
        turn.position =
            DisplayDevice::toVirtual(e.position, clientRect_.width(), clientRect_.height(), windowRect_);
    }
    ask(turn);
}

void MainLoop::ask(const Turn& turn) {
    if (waiting_.size() < kMaxWaitingInput) waiting_.push_back(turn);
    takeTurn();
}

void MainLoop::takeTurn() {
    if (turnTaken_ || waiting_.empty()) return;
    turnTaken_ = true;
    const Turn turn = waiting_.front();
    waiting_.pop_front();
    if (turn.button) {
        press(turn);
    } else {
        offer(turn.event);
    }
}

void MainLoop::press(const Turn& turn) {
    // A button goes to the item under the pointer where it was pressed, as the last frame showed
    // the items. When that is not the hovered item (the pointer jumped there within the frame, as a
    // tap on a touch screen does), the hover moves first, as the hover step would have moved it.
    if (turn.hasPosition) {
        scene::ImageItem* under = drawn_.itemAt(turn.position);
        if (under != hovered_) {
            engine_.scene.cursor = turn.position;
            scene::ImageItem* before = itemAt(turn.position);
            hoverTo(under);
            // The hover scripts may have brought up another item at the pointer (a highlight shown
            // over the button): the hover follows what they changed, as the next frames' hover
            // steps would have, so the press reaches what they would have shown under the pointer.
            for (int i = 0; i < kHoverFollowLimit; ++i) {
                scene::ImageItem* now = itemAt(turn.position);
                if (now == before || now == hovered_) break;
                before = now;
                hoverTo(now);
            }
        }
    }
    sendToHovered(turn.event);
}

scene::ImageItem* MainLoop::itemAt(Vec3 point) const {
    for (scene::ImageItem* root : engine_.scene.rootItems) {
        if (scene::ImageItem* hit = root->hitTest(point)) return hit;
    }
    return nullptr;
}

void MainLoop::offer(Event event) {
    scene::SceneState& scene = engine_.scene;
    // Front of the input receiver list = the item drawn last.
    for (std::size_t i = scene.drawnItems.size(); i-- > 0;) {
        if (i >= scene.drawnItems.size()) continue;
        if (scene.drawnItems[i]->fireEvent(event, scene.cursor)) return;
    }
}

void MainLoop::sendToHovered(Event event) {
    if (hovered_) hovered_->fireEvent(event, engine_.scene.cursor);
}

void MainLoop::wheel(double notches) {
    if (!std::isfinite(notches)) return;
    double units = std::clamp(notches * 120.0, -1.0e6, 1.0e6);
    // Whole deltas stay whole (a delta of 120ths arrives as a fraction of a notch).
    const double whole = std::nearbyint(units);
    if (std::abs(units - whole) < 1e-6) units = whole;
    wheelAccumulator_ = std::clamp(wheelAccumulator_ + units, INT32_MIN + 120.0, INT32_MAX - 120.0);
    while (wheelAccumulator_ < -120) {
        wheelAccumulator_ += 120;
        ask({Event::onDown});
    }
    while (wheelAccumulator_ > 120) {
        wheelAccumulator_ -= 120;
        ask({Event::onUp});
    }
}

void MainLoop::joystickStep(const platform::JoystickState& state) {
    const std::int32_t dx = static_cast<std::int32_t>(state.x - xCentre_);
    const std::int32_t dy = static_cast<std::int32_t>(state.y - yCentre_);
    const std::int64_t xLimit = static_cast<std::int64_t>(xRange_ / 4);
    const std::int64_t yLimit = static_cast<std::int64_t>(yRange_ / 4);
    if (std::llabs(dx) > xLimit) ask({dx > 0 ? Event::onRight : Event::onLeft});
    if (std::llabs(dy) > yLimit) ask({dy < 0 ? Event::onUp : Event::onDown});
    if ((state.buttons ^ previousButtons_) & 1u)
        ask({(state.buttons & 1u) ? Event::onSubmit : Event::onSubmitUp});
    if ((state.buttons ^ previousButtons_) & 2u)
        ask({(state.buttons & 2u) ? Event::onEscape : Event::onEscapeUp});
    previousButtons_ = state.buttons;
}

}  // namespace qa::app
