// Windows-1252 to Unicode and back, and UTF-8 text files read as Windows-1252.
#include "platform/Windows1252.h"

namespace qa::platform {

namespace {
// Code points of the bytes 0x80 to 0x9F; 0 where the code page assigns none.
constexpr std::uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

std::uint32_t Windows1252::codePoint(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b;
}

void Windows1252::appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

unsigned char Windows1252::byteOf(std::uint32_t cp) {
    if (cp == 0 || (cp < 0x100 && (cp < 0x80 || cp >= 0xA0))) return static_cast<unsigned char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp && cp != 0) return static_cast<unsigned char>(0x80 + i);
    return 0;
}

std::size_t Windows1252::decodeUtf8(std::string_view bytes, std::size_t at, std::uint32_t& cp) {
    if (at >= bytes.size()) return 0;
    const auto b0 = static_cast<unsigned char>(bytes[at]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t length;
    std::uint32_t value, least;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, value = b0 & 0x1Fu, least = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, value = b0 & 0x0Fu, least = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, value = b0 & 0x07u, least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[at + i]);
        if ((b & 0xC0) != 0x80) return 0;
        value = value << 6 | (b & 0x3Fu);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    cp = value;
    return length;
}

bool Windows1252::isUtf8Text(std::string_view bytes, bool cut) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return true;
    bool multiByte = false;
    for (std::size_t at = 0; at < bytes.size();) {
        std::uint32_t cp;
        const std::size_t n = decodeUtf8(bytes, at, cp);
        if (n == 0) {
            // The start of a longer file may end inside a sequence: a lead byte and fewer
            // continuation bytes than it calls for.
            const auto lead = static_cast<unsigned char>(bytes[at]);
            const std::size_t calls = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            bool partial = cut && lead >= 0xC2 && lead <= 0xF4 && bytes.size() - at < calls;
            for (std::size_t i = at + 1; partial && i < bytes.size(); ++i)
                partial = (static_cast<unsigned char>(bytes[i]) & 0xC0) == 0x80;
            return partial;
        }
        multiByte = multiByte || n > 1;
        at += n;
    }
    return multiByte;
}

std::string Windows1252::fromUtf8(std::string_view bytes, char replacement) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t at = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (at < bytes.size()) {
        std::uint32_t cp = 0;
        std::size_t n = decodeUtf8(bytes, at, cp);
        if (n == 0) {
            // One replacement for a broken sequence: its lead byte and the continuation bytes after it.
            const bool lead = static_cast<unsigned char>(bytes[at]) >= 0xC0;
            out.push_back(replacement);
            ++at;
            while (lead && at < bytes.size() && (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80) ++at;
            continue;
        }
        const unsigned char b = byteOf(cp);
        out.push_back(b || cp == 0 ? static_cast<char>(b) : replacement);
        at += n;
    }
    return out;
}

}  // namespace qa::platform
