// The compositor against SDL's software renderer itself: every blend and modulation value, and
// random copies (scaled, mirrored, past the edges, modulated, with and without blending) drawn
// both ways must leave the same pixels; a clipped copy draws exactly its part of the whole copy.
#include <SDL.h>
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "platform/gfx/SoftwareCompositor.h"

namespace qa::platform::gfx {
namespace {

using Box = SoftwareCompositor::Box;

// A back buffer drawn by SDL's software renderer, the way the reference device's was.
class SdlBuffer {
  public:
    SdlBuffer(int w, int h)
        : surface_(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGB888)),
          renderer_(SDL_CreateSoftwareRenderer(surface_)) {}
    ~SdlBuffer() {
        for (auto& [pixels, texture] : textures_) SDL_DestroyTexture(texture);
        SDL_DestroyRenderer(renderer_);
        SDL_FreeSurface(surface_);
    }
    SdlBuffer(const SdlBuffer&) = delete;
    SdlBuffer& operator=(const SdlBuffer&) = delete;

    int width() const { return surface_->w; }
    int height() const { return surface_->h; }
    std::uint32_t* pixels() { return static_cast<std::uint32_t*>(surface_->pixels); }
    int pitch() const { return surface_->pitch / 4; }
    SoftwareCompositor::Target target() { return {pixels(), pitch(), width(), height()}; }

    void copy(const std::vector<std::uint32_t>& argb, int w, int h, const SpritePiece& p,
              std::uint32_t colour, bool blend) {
        SDL_Texture*& t = textures_[&argb];
        if (!t) {
            t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, w, h);
            SDL_UpdateTexture(t, nullptr, argb.data(), w * 4);
            SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
        }
        SDL_SetTextureColorMod(t, static_cast<Uint8>(colour >> 16), static_cast<Uint8>(colour >> 8),
                               static_cast<Uint8>(colour));
        SDL_SetTextureAlphaMod(t, static_cast<Uint8>(colour >> 24));
        SDL_SetTextureBlendMode(t, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
        const SDL_Rect src{p.srcX, p.srcY, p.srcW, p.srcH}, dst{p.dstX, p.dstY, p.dstW, p.dstH};
        const int flip = (p.flipX ? SDL_FLIP_HORIZONTAL : 0) | (p.flipY ? SDL_FLIP_VERTICAL : 0);
        if (flip)
            SDL_RenderCopyEx(renderer_, t, &src, &dst, 0.0, nullptr, static_cast<SDL_RendererFlip>(flip));
        else
            SDL_RenderCopy(renderer_, t, &src, &dst);
        SDL_RenderFlush(renderer_);
    }

  private:
    SDL_Surface* surface_;
    SDL_Renderer* renderer_;
    std::map<const void*, SDL_Texture*> textures_;
};

// The first pixel whose colour differs (the top byte carries nothing), or -1.
long firstDifference(const std::uint32_t* a, int pitchA, const std::uint32_t* b, int pitchB, int w, int h) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (((a[y * pitchA + x] ^ b[y * pitchB + x]) & 0xFFFFFFu) != 0)
                return static_cast<long>(y) * w + x;
        }
    }
    return -1;
}

// Every source value and alpha over a spread of backgrounds, unscaled and scaled, plain and
// modulated: the compositor's arithmetic is SDL's for each of them.
TEST(SoftwareCompositor, BlendsEveryValueAsSdlDoes) {
    // Texel (x, y): alpha y, red x, green 255 - x, blue x ^ 0x5A.
    std::vector<std::uint32_t> ramp(256 * 256);
    for (std::uint32_t y = 0; y < 256; ++y) {
        for (std::uint32_t x = 0; x < 256; ++x)
            ramp[y * 256 + x] = y << 24 | x << 16 | (255 - x) << 8 | (x ^ 0x5Au);
    }
    const SoftwareCompositor::Source source{ramp.data(), 256, 256};
    const SpritePiece pieces[] = {
        {0, 0, 256, 256, 0, 0, 256, 256, false, false},      // unscaled
        {0, 0, 256, 256, 260, 0, 512, 512, false, false},    // scaled, inside the buffer
        {0, 0, 256, 256, 800, 300, 512, 512, false, false},  // scaled, past the edge
        {0, 0, 256, 256, 0, 300, 256, 256, true, false},     // mirrored
    };
    const std::uint32_t colours[] = {0xFFFFFFFFu, 0x80FFFFFFu, 0xFF4080C0u, 0x33E01020u};
    SdlBuffer sdl(1024, 768), ours(1024, 768);
    for (std::uint32_t d = 0; d < 256; d += 15) {
        const std::uint32_t background = d << 16 | (255 - d) << 8 | (d ^ 0x33u);
        for (std::uint32_t colour : colours) {
            std::fill(sdl.pixels(), sdl.pixels() + sdl.pitch() * 768, background);
            std::fill(ours.pixels(), ours.pixels() + ours.pitch() * 768, background);
            for (const SpritePiece& p : pieces) {
                sdl.copy(ramp, 256, 256, p, colour, true);
                SoftwareCompositor::copy(ours.target(), source, p, colour, true, {0, 0, 1024, 768});
            }
            const long at =
                firstDifference(sdl.pixels(), sdl.pitch(), ours.pixels(), ours.pitch(), 1024, 768);
            ASSERT_EQ(at, -1) << "background " << d << ", colour " << std::hex << colour << std::dec
                              << ", pixel (" << at % 1024 << ", " << at / 1024 << ")";
        }
    }
}

// Random copies as sprites make them: the same pixels as SDL's renderer, one copy after another.
TEST(SoftwareCompositor, RandomCopiesMatchSdl) {
    std::mt19937 rng(20240607);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    // Pictures with transparent, opaque and partly transparent texels, in runs and scattered.
    std::vector<std::vector<std::uint32_t>> pictures;
    std::vector<std::pair<int, int>> sizes = {{37, 23}, {128, 128}, {256, 256}, {5, 300}};
    for (auto [w, h] : sizes) {
        std::vector<std::uint32_t>& px = pictures.emplace_back(static_cast<std::size_t>(w * h));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const std::uint32_t rgb = static_cast<std::uint32_t>(rng()) & 0xFFFFFFu;
                const int kind = (x / 7 + y / 5) % 4;
                const std::uint32_t a = kind == 0   ? 0
                                        : kind == 1 ? 255
                                                    : static_cast<std::uint32_t>(rng() & 0xFF);
                px[static_cast<std::size_t>(y * w + x)] = a << 24 | rgb;
            }
        }
    }
    const int W = 320, H = 240;
    SdlBuffer sdl(W, H), ours(W, H);
    for (int i = 0; i < W * H; ++i) {
        const std::uint32_t v = static_cast<std::uint32_t>(rng()) & 0xFFFFFFu;
        sdl.pixels()[i / W * sdl.pitch() + i % W] = v;
        ours.pixels()[i / W * ours.pitch() + i % W] = v;
    }
    int drawn = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const std::size_t k = static_cast<std::size_t>(pick(0, static_cast<int>(pictures.size()) - 1));
        const auto [w, h] = sizes[k];
        SpritePiece p;
        p.srcX = pick(0, w - 1);
        p.srcY = pick(0, h - 1);
        p.srcW = pick(1, w - p.srcX);
        p.srcH = pick(1, h - p.srcY);
        const int scaling = pick(0, 3);  // unscaled, larger, smaller, either axis on its own
        p.dstW = scaling == 0 ? p.srcW : scaling == 1 ? p.srcW * pick(2, 5) / 2 : std::max(1, p.srcW * 2 / 3);
        p.dstH = scaling == 0 ? p.srcH : scaling == 3 ? pick(1, 300) : scaling == 1 ? p.srcH * 3 / 2 : p.srcH;
        p.dstX = pick(-p.dstW / 2, W - p.dstW / 2);
        p.dstY = pick(-p.dstH / 2, H - p.dstH / 2);
        if (pick(0, 3) == 0) {  // wholly inside, for the one-pass scaled path
            p.dstX = std::clamp(p.dstX, 0, std::max(0, W - p.dstW));
            p.dstY = std::clamp(p.dstY, 0, std::max(0, H - p.dstH));
        }
        const bool blend = pick(0, 5) != 0;
        p.flipX = pick(0, 4) == 0;
        p.flipY = pick(0, 6) == 0;
        const std::uint32_t colours[] = {0xFFFFFFFFu, 0x80FFFFFFu, 0xFF8040FFu,
                                         static_cast<std::uint32_t>(rng()) | 0x01000000u};
        const std::uint32_t colour = colours[pick(0, 3)];
        if (!SoftwareCompositor::handles(p, blend)) continue;
        ++drawn;
        sdl.copy(pictures[k], w, h, p, colour, blend);
        SoftwareCompositor::copy(ours.target(), {pictures[k].data(), w, h}, p, colour, blend, {0, 0, W, H});
        const long at = firstDifference(sdl.pixels(), sdl.pitch(), ours.pixels(), ours.pitch(), W, H);
        ASSERT_EQ(at, -1) << "trial " << trial << ": src " << p.srcX << "," << p.srcY << " " << p.srcW << "x"
                          << p.srcH << " dst " << p.dstX << "," << p.dstY << " " << p.dstW << "x" << p.dstH
                          << " flip " << p.flipX << p.flipY << " blend " << blend << " colour " << std::hex
                          << colour << std::dec << ", pixel (" << at % W << ", " << at / W << ")";
    }
    EXPECT_GT(drawn, 2000);
}

// Clipped to a box, a copy changes only the box, and there exactly as the whole copy does.
TEST(SoftwareCompositor, ClippedCopyIsPartOfTheWholeCopy) {
    std::vector<std::uint32_t> picture(50 * 40);
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<std::uint32_t>(i * 2654435761u) | (i % 3 == 0 ? 0xFF000000u : 0x7F000000u);
    const SoftwareCompositor::Source source{picture.data(), 50, 40};
    const SpritePiece pieces[] = {
        {3, 2, 41, 30, 10, 12, 97, 71, false, false},  // scaled up, inside
        {3, 2, 41, 30, -7, 15, 61, 20, true, false},   // scaled, mirrored, past the edge
        {0, 0, 50, 40, 20, 20, 50, 40, false, true},   // unscaled, mirrored
    };
    const Box box{25, 18, 61, 44};
    for (const SpritePiece& p : pieces) {
        for (std::uint32_t colour : {0xFFFFFFFFu, 0xA0C08040u}) {
            std::vector<std::uint32_t> whole(120 * 90, 0x00102030u), part(120 * 90, 0x00102030u);
            SoftwareCompositor::copy({whole.data(), 120, 120, 90}, source, p, colour, true, {0, 0, 120, 90});
            SoftwareCompositor::copy({part.data(), 120, 120, 90}, source, p, colour, true, box);
            for (int y = 0; y < 90; ++y) {
                for (int x = 0; x < 120; ++x) {
                    const bool in = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
                    const std::size_t i = static_cast<std::size_t>(y * 120 + x);
                    ASSERT_EQ(part[i], in ? whole[i] : 0x00102030u) << x << "," << y;
                }
            }
        }
    }
}

}  // namespace
}  // namespace qa::platform::gfx
