// The key table from SDL key codes to virtual-key codes.
#include "platform/window/sdl/SdlKeys.h"

#include <SDL.h>

#include "platform/window/Window.h"

namespace qa::platform::window {

std::uint32_t SdlKeys::virtualKey(std::int32_t key, bool numLock) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint32_t>(key);
    if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70u + static_cast<std::uint32_t>(key - SDLK_F1);
    if (key >= SDLK_F13 && key <= SDLK_F24) return 0x7Cu + static_cast<std::uint32_t>(key - SDLK_F13);
    if (numLock) {
        if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61u + static_cast<std::uint32_t>(key - SDLK_KP_1);
        if (key == SDLK_KP_0) return 0x60;
        if (key == SDLK_KP_PERIOD) return 0x6E;
    } else {
        switch (key) {
            case SDLK_KP_0:
                return 0x2D;  // Insert
            case SDLK_KP_1:
                return 0x23;  // End
            case SDLK_KP_2:
                return VK_DOWN;
            case SDLK_KP_3:
                return VK_NEXT;
            case SDLK_KP_4:
                return VK_LEFT;
            case SDLK_KP_5:
                return 0x0C;  // Clear
            case SDLK_KP_6:
                return VK_RIGHT;
            case SDLK_KP_7:
                return 0x24;  // Home
            case SDLK_KP_8:
                return VK_UP;
            case SDLK_KP_9:
                return VK_PRIOR;
            case SDLK_KP_PERIOD:
                return 0x2E;  // Delete
            default:
                break;
        }
    }
    switch (key) {
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_BACKSPACE:
            return 0x08;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_END:
            return 0x23;
        case SDLK_HOME:
            return 0x24;
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_INSERT:
            return 0x2D;
        case SDLK_DELETE:
            return 0x2E;
        case SDLK_PRINTSCREEN:
            return 0x2C;
        case SDLK_PAUSE:
            return 0x13;
        case SDLK_CAPSLOCK:
            return 0x14;
        case SDLK_NUMLOCKCLEAR:
            return 0x90;
        case SDLK_SCROLLLOCK:
            return 0x91;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 0x10;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return 0x11;
        case SDLK_LALT:
        case SDLK_RALT:
            return 0x12;
        case SDLK_LGUI:
            return 0x5B;
        case SDLK_RGUI:
            return 0x5C;
        case SDLK_APPLICATION:
            return 0x5D;
        case SDLK_KP_MULTIPLY:
            return 0x6A;
        case SDLK_KP_PLUS:
            return 0x6B;
        case SDLK_KP_MINUS:
            return 0x6D;
        case SDLK_KP_DIVIDE:
            return 0x6F;
        case SDLK_SEMICOLON:
            return 0xBA;
        case SDLK_EQUALS:
            return 0xBB;
        case SDLK_COMMA:
            return 0xBC;
        case SDLK_MINUS:
            return 0xBD;
        case SDLK_PERIOD:
            return 0xBE;
        case SDLK_SLASH:
            return 0xBF;
        case SDLK_BACKQUOTE:
            return 0xC0;
        case SDLK_LEFTBRACKET:
            return 0xDB;
        case SDLK_BACKSLASH:
            return 0xDC;
        case SDLK_RIGHTBRACKET:
            return 0xDD;
        case SDLK_QUOTE:
            return 0xDE;
        default:
            return 0;
    }
}

std::uint32_t SdlKeys::virtualKeyForName(const std::string& name, bool numLock) {
    const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
    return key == SDLK_UNKNOWN ? 0 : virtualKey(key, numLock);
}

}  // namespace qa::platform::window
