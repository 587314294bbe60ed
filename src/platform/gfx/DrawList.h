// The sprite copies of one frame in drawing order, and the rectangles where two frames' copies can
// give different pixels (where the later frame must be drawn again; everywhere else it is the same).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/SoftwareCompositor.h"
#include "platform/gfx/SpritePlacement.h"

namespace qa::platform::gfx {

class DrawList {
  public:
    using Box = SoftwareCompositor::Box;

    // One copy as drawn: which picture (a serial never reused while the program runs), the piece,
    // the colour and whether it blends. `source` (the picture's pixels) and `handle` (the drawer's
    // own reference to the picture) are valid for the frame being drawn only, and take no part in
    // comparisons.
    struct Copy {
        std::uint64_t picture = 0;
        SpritePiece piece;
        std::uint32_t colour = 0;
        bool blend = false;
        SoftwareCompositor::Source source;
        void* handle = nullptr;

        bool sameAs(const Copy& o) const;
        // The pixels the copy can touch, clipped to the view (empty when it touches none).
        Box bounds(int viewWidth, int viewHeight) const;
    };

    // At most this many rectangles come out of `damage`; more are merged into their bounding box.
    static constexpr std::size_t kMaxBoxes = 16;
    static constexpr std::size_t kLookAhead = 32;

    void clear() { copies_.clear(); }
    void add(const Copy& copy) { copies_.push_back(copy); }
    const std::vector<Copy>& copies() const { return copies_; }
    std::vector<Copy>& copies() { return copies_; }
    bool empty() const { return copies_.empty(); }
    void swap(DrawList& other) { copies_.swap(other.copies_); }

    // The rectangles of a view of w x h outside which `before` and `after`, drawn over the same
    // background, give the same pixels. Equal copies are matched in order (the common beginning and
    // end of the two lists, then in between looking up to kLookAhead copies ahead for where the
    // lists agree again); every copy left unmatched adds its rectangle. A pixel outside all of them
    // is covered by the same copies with the same values in the same order in both frames.
    static void damage(const DrawList& before, const DrawList& after, int w, int h, std::vector<Box>& out);

    // Adds a box to a set of boxes, merging overlapping ones; past kMaxBoxes, one bounding box.
    static void addBox(std::vector<Box>& boxes, const Box& box);

    static bool covers(const Box& outer, const Box& inner);
    static bool intersects(const Box& a, const Box& b) {
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }

  private:
    std::vector<Copy> copies_;
};

}  // namespace qa::platform::gfx
