// Double-click detection.
#include "platform/window/DoubleClicks.h"

#include <cstdlib>

namespace qa::platform::window {

InputEvent::Press DoubleClicks::press(MouseButton button, std::uint32_t timeMs, int x, int y) {
    const bool dbl = haveClick_ && button == lastButton_ && timeMs - lastTime_ <= kDoubleClickMs &&
                     std::abs(static_cast<long long>(x) - lastX_) <= kDoubleClickHalfBox &&
                     std::abs(static_cast<long long>(y) - lastY_) <= kDoubleClickHalfBox;
    if (dbl) {
        haveClick_ = false;  // a third press is a plain press again
        return InputEvent::Press::DoubleClick;
    }
    haveClick_ = true;
    lastButton_ = button;
    lastTime_ = timeMs;
    lastX_ = x;
    lastY_ = y;
    return InputEvent::Press::Down;
}

}  // namespace qa::platform::window
