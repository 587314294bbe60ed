// Scales a picture onto an area of an output with filtering (the sharp and smooth modes), whole or
// only the part that a changed box of the picture reaches. Each output pixel mixes at most 2 x 2
// picture pixels with weights that depend on its column and row alone, kept in a table per axis.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/BoxScaler.h"
#include "platform/gfx/ScaleMode.h"

namespace qa::platform::gfx {

class FilteredScaler {
  public:
    using Box = BoxScaler::Box;
    using Pixels = BoxScaler::Pixels;

    // Whether a picture of sw x sh shown in aw x ah is filtered in this mode: not in the pixel mode,
    // not unscaled, and not where the picture's size goes a whole number of times into the area.
    static bool filters(ScaleMode mode, int sw, int sh, int aw, int ah);

    // Sets the output pixels of `area` that `box` of the source reaches (with a margin: they are
    // computed from the whole source, so the source must be current everywhere), clipped to the
    // output; returns the box written (empty when none).
    Box copy(ScaleMode mode, const Pixels& source, const Box& box, const Pixels& output, const Box& area);

    // One output column's or row's taps: picture pixel `first` weighted 256 - `next`, the one after
    // it weighted `next` (of 256).
    struct Tap {
        int first = 0;
        int next = 0;
    };
    // The taps of an axis of `size` picture pixels shown over `span` output pixels.
    static std::vector<Tap> taps(ScaleMode mode, int size, int span);

  private:
    struct Axis {
        int size = 0;
        int span = 0;
        std::vector<Tap> taps;
        // The output range [first, last) whose taps reach picture pixels [from, to).
        void reach(int from, int to, int& first, int& last) const;
    };
    void prepare(Axis& axis, ScaleMode mode, int size, int span);

    ScaleMode mode_ = ScaleMode::Pixel;
    Axis x_;
    Axis y_;
};

}  // namespace qa::platform::gfx
