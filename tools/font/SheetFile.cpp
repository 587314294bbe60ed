// PNG writing of font sheets through SDL2_image into a checked output file.
#include "font/SheetFile.h"

#include <SDL.h>
#include <SDL_image.h>

#include <memory>

#include "platform/file/OutputFile.h"

namespace qa::font {

bool SheetFile::write(const FontSheet& sheet, const std::string& path, std::string& error) {
    std::unique_ptr<platform::OutputFile> out = platform::OutputFile::create(path, error);
    if (!out) return false;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(sheet.pixels().data()), sheet.width(),
                                           sheet.height(), 32, sheet.width() * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) {
        error = std::string("cannot make the picture: ") + SDL_GetError();
        return false;
    }
    SDL_RWops* stream = out->stream() ? SDL_RWFromFP(out->stream(), SDL_FALSE) : nullptr;
    const bool saved = stream && IMG_SavePNG_RW(surface, stream, 1) == 0;
    SDL_FreeSurface(surface);
    if (!saved) {
        error = "cannot write " + path + ": " + SDL_GetError();
        return false;
    }
    return out->commit(error);
}

}  // namespace qa::font
