// Sprite copies into a memory back buffer: sampling, blending and modulation per pixel.
#include "platform/gfx/SoftwareCompositor.h"

#include <algorithm>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace qa::platform::gfx {

namespace {

// The longest side a copy may have here; longer ones are left to SDL, whose scaled blits refuse
// sides past 65535.
constexpr int kLongestSide = 16384;

// What a back-buffer pixel holds: the colour; the top byte is written as 0.
constexpr std::uint32_t kColour = 0xFFFFFFu;

// x / 255, rounded down, for 0 <= x <= 255 x 255.
inline std::uint32_t div255(std::uint32_t x) {
    return (x + 1 + (x >> 8)) >> 8;
}

#ifdef __SSE2__

// x / 255, rounded down, in each 16-bit lane (0 <= x <= 255 x 255).
inline __m128i div255(__m128i x) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}

// Each pixel's alpha word copied into its four 16-bit lanes.
inline __m128i alphaWords(__m128i widened) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(widened, _MM_SHUFFLE(3, 3, 3, 3)),
                               _MM_SHUFFLE(3, 3, 3, 3));
}
#endif

// The unscaled blit without modulation: transparent texels leave the pixel, opaque ones replace it,
// the rest mix in 256ths.
struct PlainBlend {
    std::uint32_t operator()(std::uint32_t s, std::uint32_t d) const {
        const std::uint32_t a = s >> 24;
        if (a == 0) return d;
        if (a == 255) return s & kColour;
        const std::uint32_t na = 255 - a;
        // Red and blue side by side (each product stays below 2^16), green alone.
        const std::uint32_t rb =
            ((((s & 0xFF00FFu) * a) >> 8) & 0xFF00FFu) + ((((d & 0xFF00FFu) * na) >> 8) & 0xFF00FFu);
        const std::uint32_t g = ((((s >> 8) & 0xFFu) * a) >> 8) + ((((d >> 8) & 0xFFu) * na) >> 8);
        return rb | g << 8;
    }

#ifdef __SSE2__
    // Four pixels at once; false when they stay as they are.
    bool operator()(__m128i s, __m128i& d) const {
        const __m128i a = _mm_srli_epi32(s, 24);
        const __m128i opaque = _mm_cmpeq_epi32(a, _mm_set1_epi32(255));
        const __m128i clear = _mm_cmpeq_epi32(a, _mm_setzero_si128());
        if (_mm_movemask_epi8(clear) == 0xFFFF) return false;
        const __m128i colour = _mm_set1_epi32(static_cast<int>(kColour));
        if (_mm_movemask_epi8(opaque) == 0xFFFF) {
            d = _mm_and_si128(s, colour);
            return true;
        }
        const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255);
        auto mix = [&](__m128i s16, __m128i d16) {
            const __m128i a16 = alphaWords(s16);
            return _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(s16, a16), 8),
                                 _mm_srli_epi16(_mm_mullo_epi16(d16, _mm_sub_epi16(full, a16)), 8));
        };
        const __m128i mixed = _mm_packus_epi16(mix(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero)),
                                               mix(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero)));
        const __m128i keep = _mm_or_si128(opaque, clear);
        d = _mm_or_si128(
            _mm_andnot_si128(keep, _mm_and_si128(mixed, colour)),
            _mm_or_si128(_mm_and_si128(opaque, _mm_and_si128(s, colour)), _mm_and_si128(clear, d)));
        return true;
    }
#endif
};

// Modulation, then blending in 255ths (or, without blending, the modulated colour).
template <bool Blend, bool ModulateColour, bool ModulateAlpha>
struct Modulated {
    std::uint32_t mr, mg, mb, ma;

    std::uint32_t operator()(std::uint32_t s, std::uint32_t d) const {
        std::uint32_t r = (s >> 16) & 0xFFu, g = (s >> 8) & 0xFFu, b = s & 0xFFu, a = s >> 24;
        if constexpr (ModulateColour) {
            r = div255(r * mr);
            g = div255(g * mg);
            b = div255(b * mb);
        }
        if constexpr (Blend) {
            if constexpr (ModulateAlpha) a = div255(a * ma);
            if (a == 0) return d;
            if (a != 255) {
                const std::uint32_t na = 255 - a;
                r = div255(r * a) + div255(na * ((d >> 16) & 0xFFu));
                g = div255(g * a) + div255(na * ((d >> 8) & 0xFFu));
                b = div255(b * a) + div255(na * (d & 0xFFu));
            }
        }
        return r << 16 | g << 8 | b;
    }

#ifdef __SSE2__
    bool operator()(__m128i s, __m128i& d) const {
        if constexpr (Blend && !ModulateAlpha) {
            const __m128i a = _mm_srli_epi32(s, 24);
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, _mm_setzero_si128())) == 0xFFFF) return false;
            if constexpr (!ModulateColour) {
                if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, _mm_set1_epi32(255))) == 0xFFFF) {
                    d = _mm_and_si128(s, _mm_set1_epi32(static_cast<int>(kColour)));
                    return true;
                }
            }
        }
        // The modulation as words B, G, R, A (255 where nothing is modulated: x * 255 / 255 = x).
        const __m128i m = _mm_set_epi16(
            static_cast<short>(ModulateAlpha ? ma : 255), static_cast<short>(ModulateColour ? mr : 255),
            static_cast<short>(ModulateColour ? mg : 255), static_cast<short>(ModulateColour ? mb : 255),
            static_cast<short>(ModulateAlpha ? ma : 255), static_cast<short>(ModulateColour ? mr : 255),
            static_cast<short>(ModulateColour ? mg : 255), static_cast<short>(ModulateColour ? mb : 255));
        const __m128i zero = _mm_setzero_si128(), full = _mm_set1_epi16(255);
        auto one = [&](__m128i s16, __m128i d16) {
            if constexpr (ModulateColour || ModulateAlpha) s16 = div255(_mm_mullo_epi16(s16, m));
            if constexpr (!Blend) {
                return s16;
            } else {
                // s x a / 255 + (255 - a) x d / 255 is exact for a = 0 and a = 255 as well.
                const __m128i a16 = alphaWords(s16);
                return _mm_add_epi16(div255(_mm_mullo_epi16(s16, a16)),
                                     div255(_mm_mullo_epi16(d16, _mm_sub_epi16(full, a16))));
            }
        };
        d = _mm_and_si128(_mm_packus_epi16(one(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero)),
                                           one(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero))),
                          _mm_set1_epi32(static_cast<int>(kColour)));
        return true;
    }
#endif
};

struct Copy {
    std::uint32_t operator()(std::uint32_t s, std::uint32_t) const { return s & kColour; }
#ifdef __SSE2__
    bool operator()(__m128i s, __m128i& d) const {
        d = _mm_and_si128(s, _mm_set1_epi32(static_cast<int>(kColour)));
        return true;
    }
#endif
};

// Where the clipped destination lies and which texels it takes.
struct Geometry {
    int x0, x1, y0, y1;  // the destination pixels drawn, right and bottom excluded
    bool straight;       // destination column x takes texel column x - columnOffset
    int columnOffset;
    const int* columns;  // otherwise: the texel column of destination column x0 + i
};

// The texel row or column that destination pixel i of a span of `to` pixels takes from a span of
// `from` texels starting at `first`.
inline int texel(int first, int from, int to, bool flip, long long i) {
    const long long step = (static_cast<long long>(from) << 16) / to;
    const long long k = flip ? to - 1 - i : i;
    return first + static_cast<int>((step / 2 + k * step) >> 16);
}

template <class Op>
void drawRows(const SoftwareCompositor::Target& target, const SoftwareCompositor::Source& source,
              const SpritePiece& p, const Geometry& g, const Op& op) {
    const int n = g.x1 - g.x0;
    for (int y = g.y0; y < g.y1; ++y) {
        const std::uint32_t* row =
            source.pixels +
            static_cast<std::ptrdiff_t>(texel(p.srcY, p.srcH, p.dstH, p.flipY, y - p.dstY)) * source.width;
        std::uint32_t* out = target.pixels + static_cast<std::ptrdiff_t>(y) * target.pitch + g.x0;
        int i = 0;
        if (g.straight) {
            const std::uint32_t* in = row + (g.x0 - g.columnOffset);
#ifdef __SSE2__
            for (; i + 4 <= n; i += 4) {
                __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
                if (op(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)), d))
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), d);
            }
#endif
            for (; i < n; ++i) out[i] = op(in[i], out[i]);
        } else {
            const int* c = g.columns;
#ifdef __SSE2__
            for (; i + 4 <= n; i += 4) {
                const __m128i s =
                    _mm_set_epi32(static_cast<int>(row[c[i + 3]]), static_cast<int>(row[c[i + 2]]),
                                  static_cast<int>(row[c[i + 1]]), static_cast<int>(row[c[i]]));
                __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
                if (op(s, d)) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), d);
            }
#endif
            for (; i < n; ++i) out[i] = op(row[c[i]], out[i]);
        }
    }
}

template <bool Blend>
void drawModulated(const SoftwareCompositor::Target& target, const SoftwareCompositor::Source& source,
                   const SpritePiece& p, const Geometry& g, std::uint32_t colour) {
    const std::uint32_t mr = (colour >> 16) & 0xFFu, mg = (colour >> 8) & 0xFFu, mb = colour & 0xFFu,
                        ma = colour >> 24;
    const bool byColour = (colour & 0xFFFFFFu) != 0xFFFFFFu;
    const bool byAlpha = Blend && ma != 0xFFu;
    if (byColour && byAlpha) {
        drawRows(target, source, p, g, Modulated<Blend, true, true>{mr, mg, mb, ma});
    } else if (byColour) {
        drawRows(target, source, p, g, Modulated<Blend, true, false>{mr, mg, mb, ma});
    } else if (byAlpha) {
        drawRows(target, source, p, g, Modulated<Blend, false, true>{mr, mg, mb, ma});
    } else {
        drawRows(target, source, p, g, Modulated<Blend, false, false>{mr, mg, mb, ma});
    }
}

}  // namespace

bool SoftwareCompositor::handles(const SpritePiece& piece, bool blend) {
    if (!blend && (piece.flipX || piece.flipY)) return false;
    return piece.srcW <= kLongestSide && piece.srcH <= kLongestSide && piece.dstW <= kLongestSide &&
           piece.dstH <= kLongestSide;
}

void SoftwareCompositor::copy(const Target& target, const Source& source, const SpritePiece& p,
                              std::uint32_t colour, bool blend, const Box& clip) {
    if (p.srcW <= 0 || p.srcH <= 0 || p.dstW <= 0 || p.dstH <= 0 || !target.pixels || !source.pixels) return;
    Geometry g{};
    g.x0 = std::max({p.dstX, clip.left, 0});
    g.y0 = std::max({p.dstY, clip.top, 0});
    g.x1 = std::min({p.dstX + p.dstW, clip.right, target.width});
    g.y1 = std::min({p.dstY + p.dstH, clip.bottom, target.height});
    if (g.x0 >= g.x1 || g.y0 >= g.y1) return;

    // Columns: straight when unscaled and not mirrored, else one texel column per pixel, worked out
    // once per copy.
    thread_local std::vector<int> columns;
    g.straight = p.srcW == p.dstW && !p.flipX;
    g.columnOffset = p.dstX - p.srcX;
    if (!g.straight) {
        columns.resize(static_cast<std::size_t>(g.x1 - g.x0));
        for (int x = g.x0; x < g.x1; ++x)
            columns[static_cast<std::size_t>(x - g.x0)] = texel(p.srcX, p.srcW, p.dstW, p.flipX, x - p.dstX);
        g.columns = columns.data();
    }

    if (!blend) {
        if ((colour & 0xFFFFFFu) == 0xFFFFFFu) {
            drawRows(target, source, p, g, Copy{});
        } else {
            drawModulated<false>(target, source, p, g, colour);
        }
        return;
    }
    // A scaled copy that stays inside the buffer is blended in one pass in 255ths; every other copy
    // is an unscaled blit (a scaled or mirrored one of an intermediate picture), which blends in
    // 256ths unless it is modulated.
    const bool scaled = p.srcW != p.dstW || p.srcH != p.dstH;
    const bool inside =
        p.dstX >= 0 && p.dstY >= 0 && p.dstX + p.dstW <= target.width && p.dstY + p.dstH <= target.height;
    const bool plainBlit = !scaled || p.flipX || p.flipY || !inside;
    if (plainBlit && colour == 0xFFFFFFFFu) {
        drawRows(target, source, p, g, PlainBlend{});
    } else {
        drawModulated<true>(target, source, p, g, colour);
    }
}

}  // namespace qa::platform::gfx
