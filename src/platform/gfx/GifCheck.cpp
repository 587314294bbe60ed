// Walks a GIF file block by block as the decoder does and replays the first image's LZW code
// stream, with the same code widths, to find codes the decoder would follow out of its table.
#include "platform/gfx/GifCheck.h"

#include <cstddef>
#include <cstdint>

namespace qa::platform::gfx {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kTableSize = 1 << kMaxCodeBits;

class Reader {
  public:
    explicit Reader(const std::string& bytes) : bytes_(bytes) {}
    bool byte(std::uint8_t& out) {
        if (pos_ >= bytes_.size()) return false;
        out = static_cast<std::uint8_t>(bytes_[pos_++]);
        return true;
    }
    bool skip(std::size_t n) {
        if (bytes_.size() - pos_ < n) return false;
        pos_ += n;
        return true;
    }
    // A chain of data sub-blocks up to its zero-length terminator, appended to `out` when given.
    // False when the file ends before the terminator.
    bool subBlocks(std::string* out) {
        for (;;) {
            std::uint8_t count;
            if (!byte(count)) return false;
            if (count == 0) return true;
            if (bytes_.size() - pos_ < count) return false;
            if (out) out->append(bytes_, pos_, count);
            pos_ += count;
        }
    }

  private:
    const std::string& bytes_;
    std::size_t pos_ = 0;
};

// Codes of a growing width, least significant bit first.
class CodeReader {
  public:
    explicit CodeReader(const std::string& data) : data_(data) {}
    bool next(int width, int& code) {
        if (bit_ + static_cast<std::size_t>(width) > data_.size() * 8) return false;
        code = 0;
        for (int j = 0; j < width; ++j, ++bit_) {
            if (static_cast<std::uint8_t>(data_[bit_ / 8]) & (1u << (bit_ % 8))) code |= 1 << j;
        }
        return true;
    }

  private:
    const std::string& data_;
    std::size_t bit_ = 0;
};

// Every code must be a plain colour, the clear or end code, or an entry that exists or is made by
// this very code; after a clear (and at the start) the next code must be a plain colour. Then every
// entry's prefix is an older entry, the decoder's chains are finite and short, and its table and
// stack stay within their sizes.
bool codesSound(const std::string& data, int minimumCodeSize) {
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    CodeReader codes(data);
    int width = minimumCodeSize + 1;
    int nextEntry = clear + 2;
    int widthLimit = 2 * clear;
    bool first = true;
    bool atStart = true;
    int code = 0;
    while (codes.next(width, code)) {
        if (code == clear) {
            // At the very start the decoder skips clears; later the code after one is taken as a
            // colour whatever it is, so it must be one.
            if (!atStart && !first) {
                width = minimumCodeSize + 1;
                nextEntry = clear + 2;
                widthLimit = 2 * clear;
                first = true;
            } else if (!atStart) {
                return false;
            }
            continue;
        }
        atStart = false;
        if (first) {
            if (code >= clear) return false;
            first = false;
            continue;
        }
        if (code == end) return true;
        if (code > nextEntry) return false;
        if (nextEntry < kTableSize) {
            ++nextEntry;
            if (nextEntry >= widthLimit && widthLimit < kTableSize) {
                widthLimit *= 2;
                ++width;
            }
        }
    }
    return true;
}

}  // namespace

bool GifCheck::firstImageSound(const std::string& bytes, int maxSide, long long maxPixels) {
    Reader in(bytes);
    std::uint8_t header[13];
    for (std::uint8_t& b : header) {
        if (!in.byte(b)) return false;
    }
    const std::string signature(reinterpret_cast<const char*>(header), 6);
    if (signature != "GIF87a" && signature != "GIF89a") return false;
    if ((header[6] | (header[7] << 8)) > maxSide || (header[8] | (header[9] << 8)) > maxSide) return false;
    auto colourTable = [](std::uint8_t flags) -> std::size_t {
        return (flags & 0x80) ? 3u * (2u << (flags & 0x07)) : 0u;
    };
    if (!in.skip(colourTable(header[10]))) return false;

    for (;;) {
        std::uint8_t introducer;
        if (!in.byte(introducer)) return false;  // no image at all
        if (introducer == 0x3B) return false;    // the trailer before any image
        if (introducer == 0x21) {
            std::uint8_t label;
            if (!in.byte(label) || !in.subBlocks(nullptr)) return false;
            continue;
        }
        if (introducer != 0x2C) continue;  // the decoder passes over stray bytes between blocks
        std::uint8_t d[9];
        for (std::uint8_t& b : d) {
            if (!in.byte(b)) return false;
        }
        const int width = d[4] | (d[5] << 8);
        const int height = d[6] | (d[7] << 8);
        if (width < 1 || height < 1 || width > maxSide || height > maxSide ||
            static_cast<long long>(width) * height > maxPixels)
            return false;
        if (!in.skip(colourTable(d[8]))) return false;
        std::uint8_t minimumCodeSize;
        if (!in.byte(minimumCodeSize) || minimumCodeSize >= kMaxCodeBits) return false;
        // The whole chain must be there: a decoder that runs out of data mid-chain goes on reading
        // what is left in its buffer.
        std::string data;
        if (!in.subBlocks(&data)) return false;
        return codesSound(data, minimumCodeSize);
    }
}

}  // namespace qa::platform::gfx
