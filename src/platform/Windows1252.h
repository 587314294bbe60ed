// The Windows-1252 character set: the code point a byte stands for and the byte of a code point, UTF-8
// encoding and decoding, and the rule by which a text file is read as UTF-8 rather than as bytes of
// the code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qa::platform {

class Windows1252 {
  public:
    // The code point of a byte; 0 for the five bytes the code page leaves unassigned.
    static std::uint32_t codePoint(unsigned char b);
    // Appends a code point (up to U+10FFFF) as UTF-8.
    static void appendUtf8(std::string& out, std::uint32_t codePoint);

    // The byte that stands for a code point; 0 when the code page has none.
    static unsigned char byteOf(std::uint32_t codePoint);
    // The length of the well-formed UTF-8 sequence at `at` (shortest form, no surrogates, at most
    // U+10FFFF) with its code point; 0 when there is none there.
    static std::size_t decodeUtf8(std::string_view bytes, std::size_t at, std::uint32_t& codePoint);

    // Whether a text file is read as UTF-8: it begins with the UTF-8 byte-order mark, or its bytes are
    // well-formed UTF-8 and hold at least one sequence of more than one byte. With `cut` (the bytes
    // are the start of a longer file), a sequence cut off at the end does not count against them.
    static bool isUtf8Text(std::string_view bytes, bool cut = false);
    // UTF-8 text as bytes of the code page: the byte-order mark left out, every character the code
    // page lacks (and every byte that is not UTF-8) as `replacement`.
    static std::string fromUtf8(std::string_view bytes, char replacement = '?');
};

}  // namespace qa::platform
