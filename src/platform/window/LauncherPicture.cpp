// Sky, sun, stars and a receding grid, with colours rounded to a 6 x 7 x 6 palette as an 8-bit
// picture would have them.
#include "platform/window/LauncherPicture.h"

#include <algorithm>
#include <cmath>

namespace qa::platform::window {

namespace {

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Rounds to the nearest colour of a 252-colour cube palette, with a 4 x 4 ordered dither so that
// the gradients stay smooth.
std::uint32_t toPalette(Rgb c, int x, int y) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const double d = (bayer[y & 3][x & 3] + 0.5) / 16.0 - 0.5;
    auto level = [d](double v, int steps) {
        const double s = std::clamp(v / 255.0 * (steps - 1) + d, 0.0, static_cast<double>(steps - 1));
        return static_cast<std::uint32_t>(std::lround(std::lround(s) * 255.0 / (steps - 1)));
    };
    return 0xFF000000u | (level(c.r, 6) << 16) | (level(c.g, 7) << 8) | level(c.b, 6);
}

double hash(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<double>(h ^ (h >> 16)) / 4294967295.0;
}

}  // namespace

std::vector<std::uint32_t> LauncherPicture::pixels() {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(kWidth) * kHeight);
    const double horizon = 80.0;
    const double sunX = 196.0, sunY = 66.0, sunR = 40.0;
    const double vanishX = kWidth / 2.0;
    const Rgb skyTop{18, 10, 52}, skyLow{214, 70, 128}, ground{26, 8, 44}, grid{255, 72, 210};
    const Rgb sunTop{255, 226, 96}, sunLow{255, 84, 124};

    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Rgb c;
            if (y < horizon) {
                c = mix(skyTop, skyLow, std::pow(y / horizon, 1.6));
                if (hash(x, y) > 0.993 && y < horizon - 24)
                    c = mix(c, Rgb{255, 255, 255}, 0.5 + hash(y, x) * 0.5);
                const double dx = x - sunX, dy = y - sunY;
                const double dist = std::sqrt(dx * dx + dy * dy);
                if (dist < sunR + 6) c = mix(c, sunLow, 0.25 * (1.0 - (dist - sunR) / 6.0));  // glow
                // The sun, cut by bands that thicken towards the horizon.
                const double band = y - (sunY - 8);
                const bool cut = band > 0 && std::fmod(band, 7.0) < 1.0 + band / 12.0;
                if (dist < sunR && !cut) c = mix(sunTop, sunLow, (y - (sunY - sunR)) / (2 * sunR));
            } else {
                const double depth = y - horizon + 1.0;  // grows towards the viewer
                c = mix(ground, Rgb{60, 14, 80}, depth / (kHeight - horizon));
                // Lines across where the receding distance passes a step (one row each, closer together
                // near the horizon); lines along that run to the vanishing point, one pixel wide.
                const double far = 240.0 / depth, near = 240.0 / (depth + 1.0);
                double line = std::floor(far / 8.0) != std::floor(near / 8.0) ? 1.0 : 0.0;
                const double along = (x - vanishX) / depth;
                const double off = std::fabs(along - std::round(along / 1.1) * 1.1) * depth;
                if (off < 0.6) line = std::max(line, 0.9);
                c = mix(c, grid, line * std::min(1.0, depth / 12.0 + 0.35));
                if (y == static_cast<int>(horizon)) c = mix(c, grid, 0.8);
            }
            out[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)] = toPalette(c, x, y);
        }
    }
    return out;
}

}  // namespace qa::platform::window
