// One loaded picture, shared by every visual that names the same file.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file/FileSource.h"
#include "platform/gfx/ImageInfo.h"

namespace qa::platform::gfx {
class Texture;
}

namespace qa::scene {

struct Picture {
    std::shared_ptr<platform::gfx::Texture> texture;
    int users = 0;  // the visuals that acquired it and have not released it
    platform::gfx::ImageInfo info;
    std::string fileName;
    platform::FileStamp stamp;                    // the file as it was when decoded
    std::array<std::int32_t, 256> glyphWidths{};  // first entry -1: not measured yet
    std::bitset<256> glyphInked;                  // the cells that hold a glyph (measured with the widths)
};

}  // namespace qa::scene
