// Joystick 0 on SDL's joystick subsystem.
#include "platform/sdl/SdlJoystick.h"

#include <SDL.h>

#include <algorithm>

namespace qa::platform {

SdlJoystick::~SdlJoystick() {
    if (joystick_) SDL_JoystickClose(joystick_);
    if (started_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

bool SdlJoystick::capabilities(JoystickCaps& out) {
    if (!joystick_) {
        if (!started_) {
            // The stick is read whether or not the window has the focus.
            SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
            started_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
            if (!started_) return false;
        }
        if (SDL_NumJoysticks() < 1) return false;
        joystick_ = SDL_JoystickOpen(0);
        if (!joystick_) return false;
    }
    out = JoystickCaps{0, 65535, 0, 65535};
    return true;
}

bool SdlJoystick::read(JoystickState& out) {
    if (!joystick_) return false;
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick_)) return false;
    const int axes = SDL_JoystickNumAxes(joystick_);
    out.x = axes > 0 ? toPosition(SDL_JoystickGetAxis(joystick_, 0)) : 32768u;
    out.y = axes > 1 ? toPosition(SDL_JoystickGetAxis(joystick_, 1)) : 32768u;
    out.buttons = 0;
    const int buttons = std::min(SDL_JoystickNumButtons(joystick_), 32);
    for (int i = 0; i < buttons; ++i) {
        if (SDL_JoystickGetButton(joystick_, i)) out.buttons |= 1u << i;
    }
    return true;
}

}  // namespace qa::platform
