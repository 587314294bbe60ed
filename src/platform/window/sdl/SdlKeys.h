// The virtual-key code of an SDL key, as the launcher and the input events carry it.
#pragma once

#include <cstdint>
#include <string>

namespace qa::platform::window {

class SdlKeys {
  public:
    // The virtual-key code for an SDL key code (SDL_Keycode); 0 for keys without one. With Num Lock
    // off the keypad's digits are the cursor keys, as on the system the codes come from.
    static std::uint32_t virtualKey(std::int32_t sdlKeycode, bool numLock = true);
    // The same for a key named as SDL names it ("Return", "Up", "Keypad Enter", "A").
    static std::uint32_t virtualKeyForName(const std::string& sdlName, bool numLock = true);
};

}  // namespace qa::platform::window
