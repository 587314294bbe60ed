// The fifteen item events, numbered as scene scripts and the trace know them.
#pragma once

namespace qa::scene {

enum class Event : int {
    onSubmit = 1,
    onSubmitUp = 2,
    onEscape = 3,
    onEscapeUp = 4,
    onHoverOn = 5,
    onHoverOff = 6,
    onLoad = 7,
    onActivate = 8,
    onHide = 9,
    onPgDn = 10,
    onPgUp = 11,
    onDown = 12,
    onUp = 13,
    onLeft = 14,
    onRight = 15,
};

// The event's number (1 to 15).
constexpr int eventNumber(Event event) {
    return static_cast<int>(event);
}

}  // namespace qa::scene
