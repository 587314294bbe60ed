// Sprite placement in whole pixels, per axis.
#include "platform/gfx/SpritePlacement.h"

#include <algorithm>
#include <cmath>

namespace qa::platform::gfx {

namespace {

// One axis of a copy: source texels [s0, s1) into destination pixels [d0, d1), mirrored or not.
struct Span {
    int s0, s1, d0, d1;
    bool flip;
};

// A scale above this many pixels per texel is drawn texel by texel, so destinations stay small.
constexpr double kLargeTexel = 65536.0;

int pixelEdge(double d) {
    return static_cast<int>(std::ceil(d - 0.5));
}

// srcLo/srcHi: the asked source range; size: the picture's extent; the mapping of texture
// coordinate u is d(u) = (u - srcLo - c + p) * s + t.
void axis(long srcLo, long srcHi, int size, double c, double p, double s, double t, int view,
          std::vector<Span>& spans) {
    spans.clear();
    if (srcHi <= srcLo || size <= 0) return;
    long a = std::max(srcLo, 0L);
    long b = std::min(srcHi, static_cast<long>(size));
    if (b <= a) return;
    if (!std::isfinite(s) || s == 0.0 || !std::isfinite(c) || !std::isfinite(p) || !std::isfinite(t)) return;
    const double base = -static_cast<double>(srcLo) - c + p;
    auto d = [&](double u) { return (u + base) * s + t; };
    if (!std::isfinite(d(static_cast<double>(a))) || !std::isfinite(d(static_cast<double>(b)))) return;

    // Keep only the texels that can reach the view (with a margin). A copy that lands inside it
    // keeps them all, which is known without working the view's edges back into texels.
    const double lo = -static_cast<double>(SpritePlacement::kMargin),
                 hi = view + static_cast<double>(SpritePlacement::kMargin);
    const double da = d(static_cast<double>(a)), db = d(static_cast<double>(b));
    if (std::min(da, db) < lo || std::max(da, db) > hi) {
        double u0 = (lo - t) / s - base;
        double u1 = (hi - t) / s - base;
        if (u0 > u1) std::swap(u0, u1);
        if (u1 < static_cast<double>(a) || u0 > static_cast<double>(b)) return;
        a = std::max(a, static_cast<long>(std::floor(std::max(u0, static_cast<double>(a)))));
        b = std::min(b, static_cast<long>(std::ceil(std::min(u1, static_cast<double>(b)))));
        if (b <= a) return;
    }

    const bool flip = s < 0;
    auto add = [&](long u0i, long u1i, double e0, double e1) {
        if (e0 > e1) std::swap(e0, e1);
        int p0 = pixelEdge(e0), p1 = pixelEdge(e1);
        if (p1 > p0) spans.push_back({static_cast<int>(u0i), static_cast<int>(u1i), p0, p1, flip});
    };
    if (std::fabs(s) <= kLargeTexel) {
        add(a, b, d(static_cast<double>(a)), d(static_cast<double>(b)));
    } else {
        // Each texel is one colour, so cutting its ends to the view changes nothing visible.
        for (long u = a; u < b; ++u) {
            double e0 = std::clamp(d(static_cast<double>(u)), lo, hi);
            double e1 = std::clamp(d(static_cast<double>(u + 1)), lo, hi);
            add(u, u + 1, e0, e1);
        }
    }
    return;
}

}  // namespace

std::vector<SpritePiece> SpritePlacement::place(int textureWidth, int textureHeight, const Rect* source,
                                                const Vec3* centre, const Vec3* position,
                                                const Matrix& transform, int viewWidth, int viewHeight) {
    std::vector<SpritePiece> pieces;
    place(textureWidth, textureHeight, source, centre, position, transform, viewWidth, viewHeight, pieces);
    return pieces;
}

void SpritePlacement::place(int textureWidth, int textureHeight, const Rect* source, const Vec3* centre,
                            const Vec3* position, const Matrix& transform, int viewWidth, int viewHeight,
                            std::vector<SpritePiece>& pieces) {
    // Kept from call to call: a frame places thousands of glyphs, each one piece.
    thread_local std::vector<Span> xs, ys;
    pieces.clear();
    Rect src = source ? *source : Rect{0, 0, textureWidth, textureHeight};
    const Vec3 c = centre ? *centre : Vec3{};
    const Vec3 p = position ? *position : Vec3{};
    axis(src.left, src.right, textureWidth, c.x, p.x, transform.m[0][0], transform.m[3][0], viewWidth, xs);
    axis(src.top, src.bottom, textureHeight, c.y, p.y, transform.m[1][1], transform.m[3][1], viewHeight, ys);
    pieces.reserve(xs.size() * ys.size());
    for (const Span& y : ys) {
        for (const Span& x : xs) {
            pieces.push_back(
                {x.s0, y.s0, x.s1 - x.s0, y.s1 - y.s0, x.d0, y.d0, x.d1 - x.d0, y.d1 - y.d0, x.flip, y.flip});
        }
    }
}

}  // namespace qa::platform::gfx
