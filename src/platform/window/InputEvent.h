// One piece of input from the running window, typed: a key, a mouse button, the wheel, a change of
// the window's size or state, or a request to close.
#pragma once

#include <cstdint>

#include "platform/window/GameWindow.h"

namespace qa::platform::window {

// Virtual-key codes of the keys the system uses.
enum VirtualKey : std::uint32_t {
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
};

enum class MouseButton : std::uint8_t { Left, Right };

struct InputEvent {
    enum class Type : std::uint8_t {
        Key,      // `key` went down or up (every automatic repeat is one more press)
        Button,   // `button` went down (or was pressed the second time of a double click) or up
        Wheel,    // the wheel turned by `notches`
        Resized,  // the window's size or state changed: its rectangles are read again
        Close,    // the window is to close (its close button, the system's quit, the program)
    };
    enum class Press : std::uint8_t { Down, Up, DoubleClick };

    Type type = Type::Close;
    Press press = Press::Down;  // Key (Down or Up) and Button
    std::uint32_t key = 0;      // Key: the virtual-key code
    MouseButton button = MouseButton::Left;
    bool hasPosition = false;  // Button: where the pointer was, when the window knows it
    Point position;            // in the pixels the window's cursorPos reports
    double notches = 0.0;      // Wheel: positive away from the user; fractions from smooth wheels

    static InputEvent keyDown(std::uint32_t vk) { return keyEvent(vk, Press::Down); }
    static InputEvent keyUp(std::uint32_t vk) { return keyEvent(vk, Press::Up); }
    static InputEvent buttonEvent(MouseButton b, Press p) {
        InputEvent e = of(Type::Button);
        e.button = b;
        e.press = p;
        return e;
    }
    static InputEvent buttonAt(MouseButton b, Press p, Point at) {
        InputEvent e = buttonEvent(b, p);
        e.hasPosition = true;
        e.position = at;
        return e;
    }
    static InputEvent wheel(double notches) {
        InputEvent e = of(Type::Wheel);
        e.notches = notches;
        return e;
    }
    static InputEvent resized() { return of(Type::Resized); }
    static InputEvent close() { return of(Type::Close); }

  private:
    static InputEvent of(Type type) {
        InputEvent e;
        e.type = type;
        return e;
    }
    static InputEvent keyEvent(std::uint32_t vk, Press p) {
        InputEvent e = of(Type::Key);
        e.key = vk;
        e.press = p;
        return e;
    }
};

}  // namespace qa::platform::window
