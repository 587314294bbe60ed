// One loaded picture, shared by every visual that names the same file.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/gfx/ImageInfo.h"

namespace qa::platform::gfx {
class Texture;
}

namespace qa::scene {

struct Picture {
    platform::gfx::Texture* texture = nullptr;  // its own reference count is the share count
    platform::gfx::ImageInfo info;
    std::string fileName;
    std::array<std::int32_t, 256> glyphWidths{};  // first entry -1: not measured yet
};

}  // namespace qa::scene
