// Pictures made in memory for tests and saved in the formats the picture loader reads: PNG, BMP,
// JPEG through SDL and SDL2_image, TGA and GIF written by hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qa::test {

class PictureMaker {
  public:
    PictureMaker(int width, int height, std::uint32_t argb = 0);

    int width() const { return width_; }
    int height() const { return height_; }
    void set(int x, int y, std::uint32_t argb);
    std::uint32_t at(int x, int y) const;
    // Fills a rectangle (clipped to the picture).
    void fill(int x, int y, int w, int h, std::uint32_t argb);

    bool savePng(const std::string& path) const;  // with alpha
    bool saveBmp(const std::string& path) const;  // 24-bit, no alpha
    bool saveJpg(const std::string& path) const;  // quality 100
    bool saveTga(const std::string& path) const;  // 32-bit, uncompressed, with alpha
    // An 8-bit GIF; pixels with alpha 0 become the transparent colour. At most 255 other colours.
    bool saveGif(const std::string& path) const;

    // A bitmap-font sheet of 16 x 16 cells of cellW x cellH. Glyph c is an opaque block over cell
    // columns 0 to width(c) - 1 (nothing when 0), coloured so that every pixel tells where it came
    // from: red = glyph code, green = row in the cell x 8 + 7, blue = column in the cell x 8 + 7.
    template <typename WidthOf>
    static PictureMaker fontSheet(int cellW, int cellH, WidthOf width) {
        PictureMaker sheet(cellW * 16, cellH * 16);
        for (int c = 0; c < 256; ++c) {
            const int w = width(c);
            for (int y = 0; y < cellH; ++y) {
                for (int x = 0; x < w && x < cellW; ++x)
                    sheet.set((c % 16) * cellW + x, (c / 16) * cellH + y, glyphPixel(c, x, y));
            }
        }
        return sheet;
    }
    static std::uint32_t glyphPixel(int code, int x, int y) {
        return 0xFF000000u | static_cast<std::uint32_t>(code) << 16 |
               static_cast<std::uint32_t>((y * 8 + 7) & 0xFF) << 8 |
               static_cast<std::uint32_t>((x * 8 + 7) & 0xFF);
    }

    const std::vector<std::uint32_t>& pixels() const { return pixels_; }

  private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

}  // namespace qa::test
