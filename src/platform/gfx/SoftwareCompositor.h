// Sprite copies drawn straight into a 32-bit back buffer in memory, pixel for pixel as SDL's software
// renderer draws them, without its cost per copy.
//
// The results match SDL 2's software renderer copying an ARGB picture into an XRGB surface exactly
// (the frames of the reference device, its screenshots and the recorded outputs depend on them):
//   - Sampling: destination pixel i of a copy of w source texels into d pixels takes texel
//     (inc / 2 + i * inc) >> 16 with inc = (w << 16) / d; a mirrored axis counts i from the far end.
//   - Blending, per channel, with source alpha a: where the copy goes through an unscaled blit
//     without modulation (unscaled, mirrored, or scaled and reaching past the buffer's edge), a
//     fully transparent texel leaves the pixel, an opaque one replaces it, and any other gives
//     (s x a) >> 8 + (d x (255 - a)) >> 8. Everywhere else (modulated, or scaled inside the buffer)
//     the colour is modulated (s x m / 255, a x ma / 255), then s x a / 255 + (255 - a) x d / 255.
//   - Without blending the modulated colour replaces the pixel.
// The top byte of a back-buffer pixel carries nothing: every pixel drawn here gets 0 there.
#pragma once

#include <cstdint>

#include "platform/gfx/SpritePlacement.h"

namespace qa::platform::gfx {

class SoftwareCompositor {
  public:
    // The back buffer: rows of `pitch` pixels, 0x00RRGGBB.
    struct Target {
        std::uint32_t* pixels = nullptr;
        int pitch = 0;
        int width = 0;
        int height = 0;
    };
    // A picture: rows of `width` ARGB pixels.
    struct Source {
        const std::uint32_t* pixels = nullptr;
        int width = 0;
        int height = 0;
    };
    // A rectangle of the back buffer, right and bottom excluded.
    struct Box {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
    };

    // Whether `copy` draws this piece; the few it does not (mirrored without blending, sides beyond
    // what a scaled blit accepts) are left to SDL's renderer.
    static bool handles(const SpritePiece& piece, bool blend);

    // Draws the piece of the picture (its source rectangle lies inside the picture) modulated by the
    // ARGB colour, alpha blended or copied; only the pixels inside `clip` change, and they get the
    // values the whole copy gives them.
    static void copy(const Target& target, const Source& source, const SpritePiece& piece,
                     std::uint32_t colour, bool blend, const Box& clip);
};

}  // namespace qa::platform::gfx
