// Copies part of a picture scaled onto part of an output, pixel for pixel as a nearest-neighbour
// stretch of the whole picture onto the whole area would set those output pixels: output pixel i of
// an area d wide takes source column (inc / 2 + i x inc) >> 16 with inc = (w << 16) / d, and rows
// alike (how SDL's software stretch samples).
#pragma once

#include <cstdint>

#include "platform/gfx/SoftwareCompositor.h"

namespace qa::platform::gfx {

class BoxScaler {
  public:
    using Box = SoftwareCompositor::Box;
    // 32-bit pixels, rows of `pitch` pixels.
    struct Pixels {
        std::uint32_t* pixels = nullptr;
        int pitch = 0;
        int width = 0;
        int height = 0;
    };

    // The output pixels of `area` (a rectangle of the output, in output pixels) whose source pixels lie
    // in `box` of the source (sized source.width x source.height) get them; returns those output
    // pixels' box (empty when none).
    static Box copy(const Pixels& source, const Box& box, const Pixels& output, const Box& area);
};

}  // namespace qa::platform::gfx
