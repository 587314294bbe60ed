// The Windows-1252 character set: the code point a byte stands for, and UTF-8 encoding.
#pragma once

#include <cstdint>
#include <string>

namespace qa::platform {

class Windows1252 {
  public:
    // The code point of a byte; 0 for the five bytes the code page leaves unassigned.
    static std::uint32_t codePoint(unsigned char b);
    // Appends a code point (below 0x10000) as UTF-8.
    static void appendUtf8(std::string& out, std::uint32_t codePoint);
};

}  // namespace qa::platform
