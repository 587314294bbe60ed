// The frame being drawn and the frame drawn before it, as lists of copies, for the devices that draw
// a frame only where it can differ from the previous one; and the checking mode that compares such
// frames with the same frame drawn in full.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gfx/DrawList.h"

namespace qa::platform::gfx {

class FrameRecorder {
  public:
    using Box = DrawList::Box;

    // The checking mode starts on its own when QUORVART_VERIFY_DRAW is set (and not "0") in the
    // environment; a difference is then reported and stops the program.
    FrameRecorder();

    // A frame begins: cleared to `clearValue` (the value the device fills its buffer with). What
    // was recorded since the last frame was drawn is dropped with it.
    void clear(std::uint32_t clearValue);
    // Records a copy per piece; `copy` gives everything else.
    void add(DrawList::Copy copy, std::span<const SpritePiece> pieces);
    // Whether a frame waits to be drawn (cleared, or copies drawn over what is there).
    bool pending() const { return cleared_ || !current_.empty(); }
    bool cleared() const { return cleared_; }
    std::uint32_t clearValue() const { return clearValue_; }
    const DrawList& frame() const { return current_; }

    // Whether copies of the frame being recorded draw through `handle`.
    bool uses(const void* handle) const { return uses(current_, handle); }
    // The same for the frame drawn last.
    bool lastUses(const void* handle) const { return uses(previous_, handle); }
    // The copies through `handle` draw from these pixels and through `replacement` from now on
    // (the picture behind `handle` goes away before the frame is drawn).
    void replace(const void* handle, const std::uint32_t* pixels, void* replacement);

    // Compares the recorded frame with the previous one on a view of w x h: true when `damage()`
    // holds the rectangles outside which both give the same pixels (none when nothing changed);
    // false when that cannot be told (either frame drawn over what was there, other clear values,
    // no previous frame) or when they differ everywhere.
    bool compare(int w, int h);
    const std::vector<Box>& damage() const { return damage_; }
    // The recorded frame was drawn, in part (only within `damage()`) or in full: it becomes the
    // frame the next one is compared with.
    void finish(bool partial, int w, int h);
    // Forgets every frame recorded or drawn (the pictures they copy are gone): the next frame is
    // drawn in full.
    void reset();
    // The frame drawn last, whether it began with a clear, and its clear value.
    const DrawList& last() const { return previous_; }
    bool lastCleared() const { return previousCleared_; }
    std::uint32_t lastClearValue() const { return previousClear_; }

    bool lastPartial() const { return lastPartial_; }

    // The checking mode as asked for (by tests): differences are reported and counted, and the
    // program goes on.
    void setVerify(bool verify) {
        verify_ = verify;
        abortOnMismatch_ = false;
    }
    bool verifying() const { return verify_; }
    long mismatches() const { return mismatches_; }
    // Compares the RGB of two pictures of w x h (rows of `pitchA` and `pitchB` pixels); a frame
    // that differs is reported and counted (and the program stopped in the mode the environment
    // started). True when they agree.
    bool check(const std::uint32_t* a, int pitchA, const std::uint32_t* b, int pitchB, int w, int h);

  private:
    static bool uses(const DrawList& list, const void* handle);

    DrawList current_;   // the frame being recorded
    DrawList previous_;  // the frame drawn last
    bool cleared_ = false;
    std::uint32_t clearValue_ = 0;
    bool previousCleared_ = false;  // the previous frame began with a clear, to `previousClear_`
    bool previousValid_ = false;    // ... and the next frame is compared with it
    std::uint32_t previousClear_ = 0;
    std::vector<Box> damage_;
    bool lastPartial_ = false;

    bool verify_ = false;
    bool abortOnMismatch_ = false;
    long mismatches_ = 0;
};

}  // namespace qa::platform::gfx
