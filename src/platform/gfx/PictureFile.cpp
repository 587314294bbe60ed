// Picture decoding through SDL2_image, converted once to ARGB8888.
#include "platform/gfx/PictureFile.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "platform/file/Files.h"
#include "platform/file/FolderSource.h"
#include "platform/gfx/GifCheck.h"
#include "platform/gfx/PictureCheck.h"
#include "platform/gfx/Texture.h"

namespace qa::platform::gfx {

namespace {

constexpr std::uint64_t kMaxFileBytes = 512ull << 20;

// The loader's type hint: formats without a signature (TGA) are only tried when the name says so.
std::string typeHint(const std::string& path) {
    std::size_t dot = path.find_last_of('.');
    std::size_t sep = path.find_last_of("\\/");
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

std::uint32_t fileFormat(SDL_RWops* rw) {
    if (IMG_isPNG(rw)) return PictureFile::kFilePng;
    if (IMG_isJPG(rw)) return PictureFile::kFileJpg;
    if (IMG_isBMP(rw)) return PictureFile::kFileBmp;
    return PictureFile::kFileOther;
}

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

bool sizeAccepted(std::uint32_t w, std::uint32_t h) {
    return w >= 1 && h >= 1 && w <= static_cast<std::uint32_t>(PictureFile::kMaxSide) &&
           h <= static_cast<std::uint32_t>(PictureFile::kMaxSide) &&
           static_cast<std::uint64_t>(w) * h <= PictureFile::kMaxPixels;
}

}  // namespace

bool PictureFile::decode(const std::string& windowsPath, std::vector<std::uint32_t>& argb, ImageInfo& info) {
    file::FolderSource folder;
    return decode(folder, windowsPath, argb, info);
}

bool PictureFile::decode(FileSource& files, const std::string& windowsPath, std::vector<std::uint32_t>& argb,
                         ImageInfo& info) {
    std::string bytes;
    std::unique_ptr<InputStream> file = files.open(windowsPath);
    if (!file || !Files::readAll(*file, bytes, kMaxFileBytes) || file->failed() || bytes.empty() ||
        bytes.size() >= kMaxFileBytes) {
        return false;
    }
    // Only the picture formats a disk may use are decoded, each recognised by its content (TGA,
    // which has none, by its name): the other decoders SDL2_image carries (SVG, TIFF, XCF, ...) are
    // never offered a file.
    std::unique_ptr<SDL_RWops, int (*)(SDL_RWops*)> rw(
        SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), &SDL_RWclose);
    if (!rw) return false;
    std::uint32_t fileType = fileFormat(rw.get());
    SDL_Surface* (*loader)(SDL_RWops*) = nullptr;
    PictureCheck::Kind kind = PictureCheck::Kind::Png;
    switch (fileType) {
        case kFilePng:
            loader = &IMG_LoadPNG_RW;
            break;
        case kFileJpg:
            loader = &IMG_LoadJPG_RW, kind = PictureCheck::Kind::Jpeg;
            break;
        case kFileBmp:
            loader = &IMG_LoadBMP_RW, kind = PictureCheck::Kind::Bmp;
            break;
        default:
            if (IMG_isGIF(rw.get())) {
                // The GIF decoder trusts its compressed data; damaged files are refused before it
                // runs. The check covers the declared sizes too.
                if (!GifCheck::firstImageSound(bytes, kMaxSide, static_cast<long long>(kMaxPixels)))
                    return false;
                loader = &IMG_LoadGIF_RW;
            } else if (typeHint(windowsPath) == "TGA") {
                fileType = kFileTga;
                loader = &IMG_LoadTGA_RW, kind = PictureCheck::Kind::Tga;
            }
            break;
    }
    if (!loader) return false;
    if (loader != &IMG_LoadGIF_RW) {
        std::uint32_t w = 0, h = 0;
        if (!PictureCheck::declaredSize(bytes, kind, w, h) || !sizeAccepted(w, h)) return false;
        if (kind == PictureCheck::Kind::Png && !PictureCheck::pngChunksComplete(bytes)) return false;
    }
    SurfacePtr loaded(loader(rw.get()));
    if (!loaded) return false;
    if (loaded->w <= 0 || loaded->h <= 0 ||
        !sizeAccepted(static_cast<std::uint32_t>(loaded->w), static_cast<std::uint32_t>(loaded->h)))
        return false;

    const bool keyed = SDL_HasColorKey(loaded.get()) == SDL_TRUE;
    bool alpha = loaded->format->Amask != 0 || keyed;
    if (!alpha && loaded->format->palette) {
        const SDL_Palette* pal = loaded->format->palette;
        for (int i = 0; i < pal->ncolors; ++i) alpha = alpha || pal->colors[i].a != SDL_ALPHA_OPAQUE;
    }
    // One conversion at load (PNGs arrive as ABGR8888, others as 24-bit or palettes); a transparent
    // colour becomes alpha 0.
    SDL_SetSurfaceBlendMode(loaded.get(), SDL_BLENDMODE_NONE);
    SurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    if (!converted) return false;

    const int w = converted->w;
    const int h = converted->h;
    argb.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    if (SDL_MUSTLOCK(converted.get())) SDL_LockSurface(converted.get());
    for (int y = 0; y < h; ++y) {
        const auto* row = static_cast<const std::uint8_t*>(converted->pixels) +
                          static_cast<std::ptrdiff_t>(y) * converted->pitch;
        std::memcpy(&argb[static_cast<std::size_t>(y) * w], row, static_cast<std::size_t>(w) * 4);
    }
    if (SDL_MUSTLOCK(converted.get())) SDL_UnlockSurface(converted.get());

    if (keyed) {
        // The conversion may keep the key as a key instead of turning it into alpha.
        std::uint32_t key = 0;
        SDL_GetColorKey(converted.get(), &key);
        if (SDL_HasColorKey(converted.get()) == SDL_TRUE) {
            for (std::uint32_t& p : argb) {
                if ((p & 0x00FFFFFFu) == (key & 0x00FFFFFFu)) p &= 0x00FFFFFFu;
            }
        }
    }
    if (!alpha) {
        for (std::uint32_t& p : argb) p |= 0xFF000000u;
    }

    info = ImageInfo{};
    info.width = static_cast<std::uint32_t>(w);
    info.height = static_cast<std::uint32_t>(h);
    info.depth = 1;
    info.mipLevels = 1;
    info.format = alpha ? kFormatA8R8G8B8 : kFormatX8R8G8B8;
    info.resourceType = 3;
    info.imageFileFormat = fileType;
    return true;
}

}  // namespace qa::platform::gfx
