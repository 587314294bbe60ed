// Key flags, double-click detection and wheel deltas.
#include "platform/window/InputMessages.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qa::platform::window {

namespace {

constexpr std::int64_t kRepeatCountOne = 1;
constexpr std::int64_t kContextAlt = std::int64_t{1} << 29;
constexpr std::int64_t kPreviousDown = std::int64_t{1} << 30;
constexpr std::int64_t kTransitionUp = std::int64_t{1} << 31;
constexpr std::uint64_t kButtonLeft = 0x0001;   // MK_LBUTTON
constexpr std::uint64_t kButtonRight = 0x0002;  // MK_RBUTTON

std::uint16_t low16(int v) {
    return static_cast<std::uint16_t>(static_cast<std::uint32_t>(v) & 0xFFFFu);
}

}  // namespace

std::int64_t InputMessages::pointParam(int x, int y) {
    return static_cast<std::int64_t>(low16(x)) | (static_cast<std::int64_t>(low16(y)) << 16);
}

Message InputMessages::keyDown(std::uint32_t vk, bool repeat, bool alt) {
    std::int64_t l = kRepeatCountOne;
    if (alt) l |= kContextAlt;
    if (repeat) l |= kPreviousDown;
    return {alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, l};
}

Message InputMessages::keyUp(std::uint32_t vk, bool alt) {
    std::int64_t l = kRepeatCountOne | kPreviousDown | kTransitionUp;
    if (alt) l |= kContextAlt;
    return {alt ? WM_SYSKEYUP : WM_KEYUP, vk, l};
}

Message InputMessages::buttonDown(MouseButton button, std::uint32_t timeMs, int x, int y) {
    const bool dbl = haveClick_ && button == lastButton_ && timeMs - lastTime_ <= kDoubleClickMs &&
                     std::abs(static_cast<long long>(x) - lastX_) <= kDoubleClickHalfBox &&
                     std::abs(static_cast<long long>(y) - lastY_) <= kDoubleClickHalfBox;
    if (dbl) {
        haveClick_ = false;  // a third press is a plain press again
    } else {
        haveClick_ = true;
        lastButton_ = button;
        lastTime_ = timeMs;
        lastX_ = x;
        lastY_ = y;
    }
    const bool left = button == MouseButton::Left;
    const std::uint32_t id =
        left ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN) : (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN);
    return {id, left ? kButtonLeft : kButtonRight, pointParam(x, y)};
}

Message InputMessages::buttonUp(MouseButton button, int x, int y) {
    return {button == MouseButton::Left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, pointParam(x, y)};
}

std::vector<Message> InputMessages::wheel(double notches, int screenX, int screenY) {
    std::vector<Message> out;
    if (!std::isfinite(notches)) return out;
    // Bounded so that a wild value from a device cannot flood the queue.
    const double units = std::clamp(notches * kWheelDelta + wheelRemainder_, -1.0e6, 1.0e6);
    long long whole = static_cast<long long>(units);  // towards zero: the rest waits for the next turn
    wheelRemainder_ = units - static_cast<double>(whole);
    while (whole != 0) {
        const long long part = std::clamp(whole, -32768LL, 32767LL);
        whole -= part;
        const std::uint64_t w = static_cast<std::uint64_t>(static_cast<std::uint16_t>(part)) << 16;
        out.push_back({WM_MOUSEWHEEL, w, pointParam(screenX, screenY)});
    }
    return out;
}

}  // namespace qa::platform::window
