// PNG writing of font sheets through SDL2_image.
#include "font/SheetFile.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace qa::font {

bool SheetFile::write(const FontSheet& sheet, const std::string& path, std::string& error) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(sheet.pixels().data()), sheet.width(),
                                           sheet.height(), 32, sheet.width() * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) {
        error = std::string("cannot make the picture: ") + SDL_GetError();
        return false;
    }
    const std::string temporary = path + ".part";
    const bool saved = IMG_SavePNG(surface, temporary.c_str()) == 0;
    SDL_FreeSurface(surface);
    std::error_code ec;
    if (!saved) {
        error = "cannot write " + path + ": " + SDL_GetError();
        std::filesystem::remove(temporary, ec);
        return false;
    }
    std::filesystem::rename(temporary, path, ec);
    if (ec) {
        error = "cannot write " + path + ": " + ec.message();
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

}  // namespace qa::font
