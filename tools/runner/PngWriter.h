// Writes 32-bit ARGB pixels as a PNG file (the runner's screenshots).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qa::runner {

class PngWriter {
  public:
    // Writes width x height pixels (row by row) as an opaque RGB picture, replacing the file only
    // when it was written whole; false when it cannot.
    static bool write(const std::string& path, const std::vector<std::uint32_t>& argb, int width, int height);
    // Reads a PNG (or any picture) back as ARGB pixels; false when it cannot (for checks and tests).
    static bool read(const std::string& path, std::vector<std::uint32_t>& argb, int& width, int& height);
};

}  // namespace qa::runner
