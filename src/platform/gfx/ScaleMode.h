// How a picture shown larger or smaller than its size in a window is sampled: pixel (nearest pixel),
// sharp (each window pixel the share of the picture pixels it covers: crisp edges, even strokes) or
// smooth (bilinear). Where the picture's size goes a whole number of times into the area, sharp and
// smooth sample the nearest pixel as well. The values are the bytes stored in the settings.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qa::platform::gfx {

enum class ScaleMode : std::uint8_t { Pixel = 0, Sharp = 1, Smooth = 2 };

constexpr ScaleMode kDefaultScaleMode = ScaleMode::Sharp;

// The mode of a name (pixel, sharp, smooth), or of a stored byte; empty for anything else.
constexpr std::optional<ScaleMode> scaleModeNamed(std::string_view name) {
    if (name == "pixel") return ScaleMode::Pixel;
    if (name == "sharp") return ScaleMode::Sharp;
    if (name == "smooth") return ScaleMode::Smooth;
    return std::nullopt;
}
constexpr std::optional<ScaleMode> scaleModeStored(std::uint8_t value) {
    if (value > static_cast<std::uint8_t>(ScaleMode::Smooth)) return std::nullopt;
    return static_cast<ScaleMode>(value);
}

}  // namespace qa::platform::gfx
