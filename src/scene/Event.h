// The fifteen item events, numbered as scene scripts and the trace know them, and named as the
// scene document's attributes name them.
#pragma once

#include <array>
#include <optional>
#include <string_view>

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

inline constexpr int kEventCount = 15;

// The event's number (1 to 15).
constexpr int eventNumber(Event event) {
    return static_cast<int>(event);
}

// Every event in the order an item's attributes are read: onLoad last, since it fires once the item
// and its children are built.
inline constexpr std::array<Event, kEventCount> kEventsInReadOrder = {
    Event::onSubmit,   Event::onSubmitUp, Event::onEscape, Event::onEscapeUp, Event::onHoverOn,
    Event::onHoverOff, Event::onActivate, Event::onHide,   Event::onPgUp,     Event::onPgDn,
    Event::onUp,       Event::onDown,     Event::onLeft,   Event::onRight,    Event::onLoad};

// Every event in number order.
inline constexpr std::array<Event, kEventCount> kEventsInNumberOrder = {
    Event::onSubmit,   Event::onSubmitUp, Event::onEscape,   Event::onEscapeUp, Event::onHoverOn,
    Event::onHoverOff, Event::onLoad,     Event::onActivate, Event::onHide,     Event::onPgDn,
    Event::onPgUp,     Event::onDown,     Event::onUp,       Event::onLeft,     Event::onRight};

// The attribute that holds the event's script.
constexpr const char* eventName(Event event) {
    switch (event) {
        case Event::onSubmit:
            return "onSubmit";
        case Event::onSubmitUp:
            return "onSubmitUp";
        case Event::onEscape:
            return "onEscape";
        case Event::onEscapeUp:
            return "onEscapeUp";
        case Event::onHoverOn:
            return "onHoverOn";
        case Event::onHoverOff:
            return "onHoverOff";
        case Event::onLoad:
            return "onLoad";
        case Event::onActivate:
            return "onActivate";
        case Event::onHide:
            return "onHide";
        case Event::onPgDn:
            return "onPgDn";
        case Event::onPgUp:
            return "onPgUp";
        case Event::onDown:
            return "onDown";
        case Event::onUp:
            return "onUp";
        case Event::onLeft:
            return "onLeft";
        case Event::onRight:
            return "onRight";
    }
    return "";
}

// The event an attribute name stands for (exact spelling), if any.
constexpr std::optional<Event> eventNamed(std::string_view name) {
    for (Event e : kEventsInNumberOrder)
        if (name == eventName(e)) return e;
    return std::nullopt;
}

// The event of a number, if it is one (1 to 15).
constexpr std::optional<Event> eventOfNumber(int number) {
    if (number < 1 || number > kEventCount) return std::nullopt;
    return static_cast<Event>(number);
}

}  // namespace qa::scene
