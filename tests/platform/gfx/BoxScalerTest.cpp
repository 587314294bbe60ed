// Scaling a changed part of a picture onto the window gives the pixels SDL's stretch of the whole
// picture gives there, up and down, with bars around the area and parts at the picture's edges.
#include <SDL.h>
#include <gtest/gtest.h>

#include <random>

#include "platform/gfx/BoxScaler.h"

namespace qa::platform::gfx {
namespace {

using Box = BoxScaler::Box;

SDL_Surface* surface(int w, int h) {
    return SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGB888);
}

BoxScaler::Pixels pixelsOf(SDL_Surface* s) {
    return {static_cast<std::uint32_t*>(s->pixels), s->pitch / 4, s->w, s->h};
}

TEST(BoxScaler, APartScaledMatchesTheWholeScaled) {
    std::mt19937 rng(11);
    struct Case {
        int sw, sh, ow, oh;
        SDL_Rect area;
    };
    const Case cases[] = {
        {1024, 768, 1280, 1024, {0, 32, 1280, 960}},  // full screen on a 5:4 display
        {1024, 768, 1280, 720, {160, 0, 960, 720}},   // bars left and right
        {1024, 768, 800, 600, {0, 0, 800, 600}},      // smaller
        {97, 61, 333, 200, {5, 7, 301, 190}},         // odd sizes
    };
    for (const Case& c : cases) {
        SDL_Surface* before = surface(c.sw, c.sh);
        for (int y = 0; y < c.sh; ++y)
            for (int x = 0; x < c.sw; ++x)
                static_cast<std::uint32_t*>(before->pixels)[y * before->pitch / 4 + x] = rng() & 0xFFFFFFu;
        SDL_Surface* after = SDL_ConvertSurface(before, before->format, 0);
        for (int round = 0; round < 20; ++round) {
            // The previous picture shown, a box of the picture changed, only that box scaled again.
            SDL_Surface* shown = surface(c.ow, c.oh);
            SDL_Rect area = c.area;
            ASSERT_EQ(SDL_BlitScaled(after, nullptr, shown, &area), 0);
            const int l = static_cast<int>(rng() % c.sw), t = static_cast<int>(rng() % c.sh);
            const Box box{l, t, std::min(c.sw, l + 1 + static_cast<int>(rng() % 60)),
                          std::min(c.sh, t + 1 + static_cast<int>(rng() % 60))};
            for (int y = box.top; y < box.bottom; ++y)
                for (int x = box.left; x < box.right; ++x)
                    static_cast<std::uint32_t*>(after->pixels)[y * after->pitch / 4 + x] = rng() & 0xFFFFFFu;
            const Box out = BoxScaler::copy(pixelsOf(after), box, pixelsOf(shown),
                                            {c.area.x, c.area.y, c.area.x + c.area.w, c.area.y + c.area.h});
            // What was written lies inside the area (and something was, the box being in the picture).
            EXPECT_TRUE(out.left >= c.area.x && out.top >= c.area.y && out.right <= c.area.x + c.area.w &&
                        out.bottom <= c.area.y + c.area.h && out.left < out.right && out.top < out.bottom);
            SDL_Surface* whole = surface(c.ow, c.oh);
            area = c.area;
            ASSERT_EQ(SDL_BlitScaled(after, nullptr, whole, &area), 0);
            for (int y = 0; y < c.oh; ++y) {
                for (int x = 0; x < c.ow; ++x) {
                    const std::uint32_t a =
                        static_cast<std::uint32_t*>(shown->pixels)[y * shown->pitch / 4 + x];
                    const std::uint32_t b =
                        static_cast<std::uint32_t*>(whole->pixels)[y * whole->pitch / 4 + x];
                    ASSERT_EQ(a & 0xFFFFFFu, b & 0xFFFFFFu)
                        << c.sw << "x" << c.sh << " -> " << c.ow << "x" << c.oh << " at " << x << "," << y;
                }
            }
            SDL_FreeSurface(whole);
            SDL_FreeSurface(shown);
        }
        SDL_FreeSurface(after);
        SDL_FreeSurface(before);
    }
}

}  // namespace
}  // namespace qa::platform::gfx
