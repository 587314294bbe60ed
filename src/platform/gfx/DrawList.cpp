// Comparing two frames' copies for the rectangles that need drawing again.
#include "platform/gfx/DrawList.h"

#include <algorithm>

namespace qa::platform::gfx {

namespace {

bool isEmpty(const DrawList::Box& b) {
    return b.left >= b.right || b.top >= b.bottom;
}

DrawList::Box unite(const DrawList::Box& a, const DrawList::Box& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

bool DrawList::covers(const Box& outer, const Box& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

bool DrawList::Copy::sameAs(const Copy& o) const {
    const SpritePiece& a = piece;
    const SpritePiece& b = o.piece;
    return picture == o.picture && colour == o.colour && blend == o.blend && a.srcX == b.srcX &&
           a.srcY == b.srcY && a.srcW == b.srcW && a.srcH == b.srcH && a.dstX == b.dstX && a.dstY == b.dstY &&
           a.dstW == b.dstW && a.dstH == b.dstH && a.flipX == b.flipX && a.flipY == b.flipY;
}

DrawList::Box DrawList::Copy::bounds(int viewWidth, int viewHeight) const {
    // Sizes are positive (mirroring is reported as flips); work in 64 bits against far-off pieces.
    const long long x0 = piece.dstX, y0 = piece.dstY;
    const long long x1 = x0 + std::max(piece.dstW, 0), y1 = y0 + std::max(piece.dstH, 0);
    Box b{static_cast<int>(std::clamp<long long>(x0, 0, viewWidth)),
          static_cast<int>(std::clamp<long long>(y0, 0, viewHeight)),
          static_cast<int>(std::clamp<long long>(x1, 0, viewWidth)),
          static_cast<int>(std::clamp<long long>(y1, 0, viewHeight))};
    if (isEmpty(b)) return {};
    return b;
}

void DrawList::addBox(std::vector<Box>& boxes, const Box& box) {
    if (isEmpty(box)) return;
    Box grown = box;
    // Whatever the new box overlaps joins it (and may then overlap others).
    for (bool merged = true; merged;) {
        merged = false;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (intersects(boxes[i], grown)) {
                grown = unite(grown, boxes[i]);
                boxes[i] = boxes.back();
                boxes.pop_back();
                merged = true;
                break;
            }
        }
    }
    boxes.push_back(grown);
    if (boxes.size() > kMaxBoxes) {
        Box all = boxes.front();
        for (const Box& b : boxes) all = unite(all, b);
        boxes.assign(1, all);
    }
}

void DrawList::damage(const DrawList& before, const DrawList& after, int w, int h, std::vector<Box>& out) {
    // Once the whole view is damage, nothing more can be learnt (frames where everything moves).
    const Box view{0, 0, w, h};
    auto add = [&](const Copy& c) {
        addBox(out, c.bounds(w, h));
        return out.size() == 1 && covers(out[0], view);
    };
    const std::vector<Copy>& a = before.copies_;
    const std::vector<Copy>& b = after.copies_;
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head].sameAs(b[head])) ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail].sameAs(b[b.size() - 1 - tail]))
        ++tail;
    const std::size_t aEnd = a.size() - tail;
    const std::size_t bEnd = b.size() - tail;
    // In between, copies are matched in order: a copy found again a little further on in the other
    // list matches there, and what was skipped to reach it is damage (copies that came or went);
    // otherwise the two copies face each other and both are damage.
    // Where the lists keep disagreeing (everything in a stretch moved) the look ahead is tried only
    // now and then, which keeps such frames' cost near that of a plain walk.
    std::size_t i = head, j = head;
    unsigned misses = 0;
    while (i < aEnd && j < bEnd) {
        if (a[i].sameAs(b[j])) {
            ++i, ++j;
            misses = 0;
            continue;
        }
        std::size_t skipA = 0, skipB = 0;
        const bool look = misses < 4 || misses % 16 == 0;
        for (std::size_t k = 1; look && k <= kLookAhead; ++k) {
            if (i + k < aEnd && a[i + k].sameAs(b[j])) {
                skipA = k;
                break;
            }
            if (j + k < bEnd && a[i].sameAs(b[j + k])) {
                skipB = k;
                break;
            }
        }
        if (skipA == 0 && skipB == 0) {
            skipA = skipB = 1;
            ++misses;
        }
        for (std::size_t k = 0; k < skipA; ++k)
            if (add(a[i + k])) return;
        for (std::size_t k = 0; k < skipB; ++k)
            if (add(b[j + k])) return;
        i += skipA;
        j += skipB;
    }
    for (; i < aEnd; ++i)
        if (add(a[i])) return;
    for (; j < bEnd; ++j)
        if (add(b[j])) return;
}

}  // namespace qa::platform::gfx
