// Test pictures.
#include "support/PictureMaker.h"

#include <SDL.h>
#include <SDL_image.h>

#include <fstream>
#include <map>

namespace qa::test {

namespace {

SDL_Surface* wrap(const std::vector<std::uint32_t>& pixels, int w, int h) {
    return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels.data()), w, h, 32, w * 4,
                                              SDL_PIXELFORMAT_ARGB8888);
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

void put16(std::string& s, int v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

}  // namespace

PictureMaker::PictureMaker(int width, int height, std::uint32_t argb)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, argb) {}

void PictureMaker::set(int x, int y, std::uint32_t argb) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
        pixels_[static_cast<std::size_t>(y) * width_ + x] = argb;
}

std::uint32_t PictureMaker::at(int x, int y) const {
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void PictureMaker::fill(int x, int y, int w, int h, std::uint32_t argb) {
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i) set(i, j, argb);
    }
}

bool PictureMaker::savePng(const std::string& path) const {
    SDL_Surface* s = wrap(pixels_, width_, height_);
    const bool ok = s && IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

bool PictureMaker::saveBmp(const std::string& path) const {
    SDL_Surface* s = wrap(pixels_, width_, height_);
    SDL_Surface* rgb = s ? SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB24, 0) : nullptr;
    const bool ok = rgb && SDL_SaveBMP(rgb, path.c_str()) == 0;
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(s);
    return ok;
}

bool PictureMaker::saveJpg(const std::string& path) const {
    SDL_Surface* s = wrap(pixels_, width_, height_);
    const bool ok = s && IMG_SaveJPG(s, path.c_str(), 100) == 0;
    SDL_FreeSurface(s);
    return ok;
}

bool PictureMaker::saveTga(const std::string& path) const {
    std::string f(18, '\0');
    f[2] = 2;  // uncompressed true colour
    f[12] = static_cast<char>(width_ & 0xFF), f[13] = static_cast<char>(width_ >> 8);
    f[14] = static_cast<char>(height_ & 0xFF), f[15] = static_cast<char>(height_ >> 8);
    f[16] = 32;
    f[17] = 0x28;  // 8 alpha bits, rows from the top
    for (std::uint32_t p : pixels_) {
        f.push_back(static_cast<char>(p & 0xFF));
        f.push_back(static_cast<char>((p >> 8) & 0xFF));
        f.push_back(static_cast<char>((p >> 16) & 0xFF));
        f.push_back(static_cast<char>(p >> 24));
    }
    return writeFile(path, f);
}

bool PictureMaker::saveGif(const std::string& path) const {
    // Palette: index 0 is the transparent colour, the others in order of appearance.
    std::map<std::uint32_t, int> index;
    std::vector<std::uint32_t> palette{0};
    std::vector<int> codes;
    for (std::uint32_t p : pixels_) {
        if ((p >> 24) == 0) {
            codes.push_back(0);
            continue;
        }
        const std::uint32_t rgb = p & 0xFFFFFF;
        auto [it, fresh] = index.emplace(rgb, static_cast<int>(palette.size()));
        if (fresh) palette.push_back(rgb);
        codes.push_back(it->second);
    }
    if (palette.size() > 256) return false;
    std::string f = "GIF89a";
    put16(f, width_);
    put16(f, height_);
    f.push_back(static_cast<char>(0xF7));  // global table of 256 colours
    f.push_back(0);
    f.push_back(0);
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t c =
            i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)] : 0;
        f.push_back(static_cast<char>((c >> 16) & 0xFF));
        f.push_back(static_cast<char>((c >> 8) & 0xFF));
        f.push_back(static_cast<char>(c & 0xFF));
    }
    f += std::string("\x21\xF9\x04\x01\x00\x00\x00\x00", 8);  // transparent index 0
    f.push_back(0x2C);
    put16(f, 0), put16(f, 0), put16(f, width_), put16(f, height_);
    f.push_back(0);
    // Image data with 9-bit codes and a clear code before the table would grow, so no code is
    // ever compressed: clear = 256, end = 257.
    f.push_back(8);
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    auto emit = [&](int code) {
        bits |= static_cast<std::uint32_t>(code) << count;
        count += 9;
        while (count >= 8) {
            data.push_back(static_cast<char>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i % 200 == 0) emit(256);
        emit(codes[i]);
    }
    emit(257);
    if (count > 0) data.push_back(static_cast<char>(bits & 0xFF));
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - i);
        f.push_back(static_cast<char>(n));
        f.append(data, i, n);
    }
    f.push_back(0);
    f.push_back(0x3B);
    return writeFile(path, f);
}

}  // namespace qa::test
