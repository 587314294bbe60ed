// What the picture loader reports about a picture file.
#pragma once

#include <cstdint>

namespace qa::platform::gfx {

struct ImageInfo {
    std::uint32_t width = 0;   // pixels
    std::uint32_t height = 0;  // pixels
    std::uint32_t depth = 1;
    std::uint32_t mipLevels = 1;
    std::uint32_t format = 0;  // surface format code of level 0
    std::uint32_t resourceType = 3;
    std::uint32_t imageFileFormat = 0;
};

}  // namespace qa::platform::gfx
