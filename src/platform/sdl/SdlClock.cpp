// SDL's millisecond counter.
#include "platform/sdl/SdlClock.h"

#include <SDL.h>

namespace qa::platform {

std::uint32_t SdlClock::now() {
    return SDL_GetTicks();
}

}  // namespace qa::platform
