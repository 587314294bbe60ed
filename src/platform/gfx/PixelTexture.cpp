// Read access to a kept picture.
#include "platform/gfx/PixelTexture.h"

namespace qa::platform::gfx {

bool PixelTexture::lockRect(LockedRect& out) const {
    if (pixels_.empty()) return false;
    // The pixels are native 32-bit words: on a little-endian machine B, G, R, A in memory.
    out.pitch = width_ * 4;
    out.bits = reinterpret_cast<const std::uint8_t*>(pixels_.data());
    return true;
}

}  // namespace qa::platform::gfx
