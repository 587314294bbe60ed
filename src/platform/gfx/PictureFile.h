// Decodes a picture file (PNG, JPEG, BMP, TGA or GIF) into 32-bit
// ARGB pixels with the information the texture loader reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/ImageInfo.h"

namespace qa::platform {
class FileSource;
}

namespace qa::platform::gfx {

class PictureFile {
  public:
    // Image file format codes as the loader reports them.
    static constexpr std::uint32_t kFileBmp = 0;
    static constexpr std::uint32_t kFileJpg = 1;
    static constexpr std::uint32_t kFileTga = 2;
    static constexpr std::uint32_t kFilePng = 3;
    static constexpr std::uint32_t kFileOther = 9;
    // Larger pictures are refused: no device takes textures that big.
    static constexpr int kMaxSide = 16384;
    // Nor are pictures of more pixels than this (4096 x 4096, or 16384 x 1024): the size a file
    // declares is checked before decoding, since decoders allocate and clear the whole picture up
    // front and a few bytes of file could otherwise cost gigabytes.
    static constexpr std::uint64_t kMaxPixels = 1ull << 24;

    // Reads and decodes the file named as a Windows program names it. The pixels come as ARGB words,
    // row by row; a picture with an alpha channel (or a transparent colour) reports format 21
    // (A8R8G8B8), any other 22 (X8R8G8B8) with its alpha bytes set to 0xFF. False when the file
    // cannot be read or decoded.
    static bool decode(const std::string& windowsPath, std::vector<std::uint32_t>& argb, ImageInfo& info);
    // The same for a file of a disk's source.
    static bool decode(FileSource& files, const std::string& windowsPath, std::vector<std::uint32_t>& argb,
                       ImageInfo& info);
};

}  // namespace qa::platform::gfx
