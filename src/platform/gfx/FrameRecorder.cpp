// Recording frames as copies, and checking frames drawn in part.
#include "platform/gfx/FrameRecorder.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace qa::platform::gfx {

FrameRecorder::FrameRecorder() {
    if (const char* v = std::getenv("QUORVART_VERIFY_DRAW"); v && *v && std::string_view(v) != "0") {
        verify_ = true;
        abortOnMismatch_ = true;
    }
}

void FrameRecorder::clear(std::uint32_t clearValue) {
    current_.clear();
    cleared_ = true;
    clearValue_ = clearValue;
}

void FrameRecorder::add(DrawList::Copy copy, std::span<const SpritePiece> pieces) {
    for (const SpritePiece& piece : pieces) {
        copy.piece = piece;
        current_.add(copy);
    }
}

bool FrameRecorder::uses(const DrawList& list, const void* handle) {
    for (const DrawList::Copy& c : list.copies())
        if (c.handle == handle) return true;
    return false;
}

void FrameRecorder::replace(const void* handle, const std::uint32_t* pixels, void* replacement) {
    for (DrawList::Copy& c : current_.copies()) {
        if (c.handle != handle) continue;
        c.source.pixels = pixels;
        c.handle = replacement;
    }
}

bool FrameRecorder::compare(int w, int h) {
    const Box whole{0, 0, w, h};
    damage_.clear();
    if (cleared_ && previousValid_ && clearValue_ == previousClear_) {
        DrawList::damage(previous_, current_, w, h, damage_);
        if (!(damage_.size() == 1 && DrawList::covers(damage_[0], whole))) return true;
    }
    damage_.assign(1, whole);
    return false;
}

void FrameRecorder::finish(bool partial, int w, int h) {
    if (!partial) damage_.assign(1, Box{0, 0, w, h});
    lastPartial_ = partial;
    // A frame drawn over what was there (no clear) is no frame to compare the next one with.
    previousCleared_ = previousValid_ = cleared_;
    previousClear_ = clearValue_;
    previous_.swap(current_);
    current_.clear();
    cleared_ = false;
}

void FrameRecorder::reset() {
    current_.clear();
    previous_.clear();
    cleared_ = previousCleared_ = previousValid_ = false;
}

bool FrameRecorder::check(const std::uint32_t* a, int pitchA, const std::uint32_t* b, int pitchB, int w,
                          int h) {
    long differing = 0;
    int firstX = -1, firstY = -1;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* rowA = a + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitchA);
        const std::uint32_t* rowB = b + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitchB);
        for (int x = 0; x < w; ++x) {
            if (((rowA[x] ^ rowB[x]) & 0xFFFFFFu) == 0) continue;
            if (differing++ == 0) firstX = x, firstY = y;
        }
    }
    if (differing == 0) return true;
    ++mismatches_;
    std::fprintf(stderr, "drawing check: %ld pixels differ from the full frame, the first at (%d, %d)\n",
                 differing, firstX, firstY);
    if (abortOnMismatch_) std::abort();
    return false;
}

}  // namespace qa::platform::gfx
