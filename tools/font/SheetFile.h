// Saves a font sheet as a PNG with its alpha channel.
#pragma once

#include <string>

#include "font/FontSheet.h"

namespace qa::font {

class SheetFile {
  public:
    // Writes the sheet beside the target under a fresh temporary name and renames it into place once
    // it was written whole, so an existing sheet is never left half replaced; a target that is not a
    // regular file is refused. False, with the reason, when it cannot.
    static bool write(const FontSheet& sheet, const std::string& path, std::string& error);
};

}  // namespace qa::font
