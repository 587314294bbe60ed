// The frame loop in its fixed order, and the turning of input into item events.
#include "app/MainLoop.h"

#include <algorithm>
#include <cstdlib>

#include "app/DisplayDevice.h"
#include "app/FrameObserver.h"
#include "engine/Engine.h"
#include "platform/Clock.h"
#include "scene/ImageItem.h"

namespace qa::app {

using namespace platform::window;
using scene::Event;

MainLoop::MainLoop(engine::Engine& engine, Window& window, platform::Clock& clock,
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
    Message m;
    while (window_.peekMessage(m)) {
        if (m.message == WM_CLOSE) settings_.quitRequested = true;
        window_.dispatch(m);
        recordRectangles();
    }
}

void MainLoop::hover() {
    Point p;
    if (!window_.cursorPos(p)) return;
    scene::SceneState& scene = engine_.scene;
    scene.cursor = DisplayDevice::toVirtual(p, clientRect_.width(), clientRect_.height(), windowRect_);
    if (cursor_) cursor_->position = scene.cursor;
    scene::ImageItem* candidate = nullptr;
    for (scene::ImageItem* root : scene.rootItems) {
        if ((candidate = root->hitTest(scene.cursor)) != nullptr) break;
    }
    if (candidate != hovered_) {
        scene::ImageItem* old = hovered_;
        hovered_ = candidate;
        if (old) old->fireEvent(scene::Event::onHoverOff, scene.cursor);
        if (candidate) candidate->fireEvent(scene::Event::onHoverOn, scene.cursor);
    }
}

std::int64_t MainLoop::windowProc(const Message& m) {
    switch (m.message) {
        case WM_KEYDOWN:
            switch (m.wParam) {
                case VK_RETURN:
                    offer(Event::onSubmit);
                    break;
                case VK_ESCAPE:
                    offer(Event::onEscape);
                    break;
                case VK_PRIOR:
                    offer(Event::onPgUp);
                    break;
                case VK_NEXT:
                    offer(Event::onPgDn);
                    break;
                case VK_LEFT:
                    offer(Event::onLeft);
                    break;
                case VK_UP:
                    offer(Event::onUp);
                    break;
                case VK_RIGHT:
                    offer(Event::onRight);
                    break;
                case VK_DOWN:
                    offer(Event::onDown);
                    break;
                default:
                    break;
            }
            break;
        case WM_KEYUP:
            if (m.wParam == VK_RETURN) offer(Event::onSubmitUp);
            if (m.wParam == VK_ESCAPE) offer(Event::onEscapeUp);
            break;
        case WM_LBUTTONDOWN:
            sendToHovered(Event::onSubmit);
            break;
        case WM_LBUTTONUP:
            sendToHovered(Event::onSubmitUp);
            break;
        case WM_RBUTTONDOWN:
            sendToHovered(Event::onEscape);
            break;
        case WM_RBUTTONUP:
            sendToHovered(Event::onEscapeUp);
            break;
        case WM_MOUSEWHEEL:
            wheel(static_cast<std::int16_t>((m.wParam >> 16) & 0xFFFF));
            break;
        case WM_CLOSE:
        case WM_QUIT:
            settings_.quitRequested = true;
            break;
        default:
            break;
    }
    return 0;
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

void MainLoop::wheel(std::int32_t delta) {
    // Saturating, so that absurd deltas cannot overflow the accumulator.
    std::int64_t acc = static_cast<std::int64_t>(wheelAccumulator_) + delta;
    wheelAccumulator_ =
        static_cast<std::int32_t>(std::clamp<std::int64_t>(acc, INT32_MIN + 120, INT32_MAX - 120));
    while (wheelAccumulator_ < -120) {
        wheelAccumulator_ += 120;
        offer(Event::onDown);
    }
    while (wheelAccumulator_ > 120) {
        wheelAccumulator_ -= 120;
        offer(Event::onUp);
    }
}

void MainLoop::joystickStep(const platform::JoystickState& state) {
    const std::int32_t dx = static_cast<std::int32_t>(state.x - xCentre_);
    const std::int32_t dy = static_cast<std::int32_t>(state.y - yCentre_);
    const std::int64_t xLimit = static_cast<std::int64_t>(xRange_ / 4);
    const std::int64_t yLimit = static_cast<std::int64_t>(yRange_ / 4);
    if (std::llabs(dx) > xLimit) offer(dx > 0 ? Event::onRight : Event::onLeft);
    if (std::llabs(dy) > yLimit) offer(dy < 0 ? Event::onUp : Event::onDown);
    if ((state.buttons ^ previousButtons_) & 1u)
        offer((state.buttons & 1u) ? Event::onSubmit : Event::onSubmitUp);
    if ((state.buttons ^ previousButtons_) & 2u)
        offer((state.buttons & 2u) ? Event::onEscape : Event::onEscapeUp);
    previousButtons_ = state.buttons;
}

}  // namespace qa::app
