// The launcher's picture, 269 x 125 pixels, made in code: a sunset over a grid in the colours of a
// 256-colour palette. The title is lettered on it when the dialog is drawn.
#pragma once

#include <cstdint>
#include <vector>

namespace qa::platform::window {

class LauncherPicture {
  public:
    static constexpr int kWidth = 269;
    static constexpr int kHeight = 125;

    // Opaque 32-bit ARGB pixels, row by row.
    static std::vector<std::uint32_t> pixels();
};

}  // namespace qa::platform::window
