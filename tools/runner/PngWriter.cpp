// PNG writing through SDL2_image.
#include "runner/PngWriter.h"

#include <SDL.h>
#include <SDL_image.h>

#include <memory>

#include "platform/file/OutputFile.h"
#include "platform/gfx/ImageInfo.h"
#include "platform/gfx/PictureFile.h"

namespace qa::runner {

using platform::OutputFile;
using platform::gfx::ImageInfo;
using platform::gfx::PictureFile;

bool PngWriter::write(const std::string& path, const std::vector<std::uint32_t>& argb, int width,
                      int height) {
    if (width <= 0 || height <= 0 ||
        argb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return false;
    }
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(argb.data()), width,
                                                             height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!source) return false;
    // The back buffer's alpha means nothing on screen: the file is plain RGB.
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(source, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(source);
    if (!rgb) return false;
    std::string error;
    std::unique_ptr<OutputFile> out = OutputFile::create(path, error);
    SDL_RWops* stream = out && out->stream() ? SDL_RWFromFP(out->stream(), SDL_FALSE) : nullptr;
    const bool saved = stream && IMG_SavePNG_RW(rgb, stream, 1) == 0;
    SDL_FreeSurface(rgb);
    if (!out) return false;
    if (!saved) out->fail();
    return out->commit(error);
}

bool PngWriter::read(const std::string& path, std::vector<std::uint32_t>& argb, int& width, int& height) {
    ImageInfo info;
    if (!PictureFile::decode(path, argb, info)) return false;
    width = static_cast<int>(info.width);
    height = static_cast<int>(info.height);
    return true;
}

}  // namespace qa::runner
