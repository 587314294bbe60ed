// Header fields of PNG (IHDR), JPEG (the first start-of-frame segment), BMP (either header form) and
// TGA; the PNG chunk walk.
#include "platform/gfx/PictureCheck.h"

#include <cstddef>

namespace qa::platform::gfx {

namespace {

std::uint32_t byteAt(const std::string& b, std::size_t i) {
    return static_cast<std::uint8_t>(b[i]);
}
std::uint32_t le16(const std::string& b, std::size_t i) {
    return byteAt(b, i) | (byteAt(b, i + 1) << 8);
}
std::uint32_t le32(const std::string& b, std::size_t i) {
    return le16(b, i) | (le16(b, i + 2) << 16);
}
std::uint32_t be16(const std::string& b, std::size_t i) {
    return (byteAt(b, i) << 8) | byteAt(b, i + 1);
}
std::uint32_t be32(const std::string& b, std::size_t i) {
    return (be16(b, i) << 16) | be16(b, i + 2);
}

bool png(const std::string& b, std::uint32_t& w, std::uint32_t& h) {
    if (b.size() < 24 || b.compare(12, 4, "IHDR") != 0) return false;
    w = be32(b, 16);
    h = be32(b, 20);
    return true;
}

bool jpeg(const std::string& b, std::uint32_t& w, std::uint32_t& h) {
    std::size_t pos = 2;  // after the start-of-image marker
    while (pos + 1 < b.size()) {
        if (byteAt(b, pos) != 0xFF) return false;
        while (pos < b.size() && byteAt(b, pos) == 0xFF) ++pos;  // fill bytes
        if (pos >= b.size()) return false;
        const std::uint32_t marker = byteAt(b, pos++);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) continue;  // no length of their own
        if (marker == 0xD9 || marker == 0xDA) return false;  // image end or scan data before any frame
        if (pos + 2 > b.size()) return false;
        const std::uint32_t length = be16(b, pos);
        if (length < 2) return false;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7 || pos + 7 > b.size()) return false;
            h = be16(b, pos + 3);
            w = be16(b, pos + 5);
            return true;
        }
        pos += length;
    }
    return false;
}

bool bmp(const std::string& b, std::uint32_t& w, std::uint32_t& h) {
    if (b.size() < 26) return false;
    const std::uint32_t headerSize = le32(b, 14);
    if (headerSize == 12) {  // the old core header: 16-bit sides
        w = le16(b, 18);
        h = le16(b, 20);
        return true;
    }
    if (headerSize < 16) return false;
    const auto sw = static_cast<std::int32_t>(le32(b, 18));
    const auto sh = static_cast<std::int32_t>(le32(b, 22));
    // A negative height means rows stored top-down; a negative width means nothing.
    if (sw < 0) return false;
    w = static_cast<std::uint32_t>(sw);
    h = sh < 0 ? 0u - static_cast<std::uint32_t>(sh) : static_cast<std::uint32_t>(sh);
    return true;
}

bool tga(const std::string& b, std::uint32_t& w, std::uint32_t& h) {
    if (b.size() < 18) return false;
    w = le16(b, 12);
    h = le16(b, 14);
    return true;
}

}  // namespace

bool PictureCheck::pngChunksComplete(const std::string& bytes) {
    std::size_t pos = 8;  // after the signature
    while (bytes.size() - pos >= 12) {
        const std::uint64_t length = be32(bytes, pos);
        if (length > 0x7FFFFFFFu || bytes.size() - pos - 12 < length) return false;
        if (bytes.compare(pos + 4, 4, "IEND") == 0) return true;
        pos += 12 + static_cast<std::size_t>(length);
    }
    return false;
}

bool PictureCheck::declaredSize(const std::string& bytes, Kind kind, std::uint32_t& width,
                                std::uint32_t& height) {
    switch (kind) {
        case Kind::Png:
            return png(bytes, width, height);
        case Kind::Jpeg:
            return jpeg(bytes, width, height);
        case Kind::Bmp:
            return bmp(bytes, width, height);
        case Kind::Tga:
            return tga(bytes, width, height);
    }
    return false;
}

}  // namespace qa::platform::gfx
