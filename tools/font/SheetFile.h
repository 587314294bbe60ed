// Saves a font sheet as a PNG with its alpha channel.
#pragma once

#include <string>

#include "font/FontSheet.h"

namespace qa::font {

class SheetFile {
  public:
    // Writes the sheet beside the target under a temporary name and renames it into place, so an
    // existing sheet is never left half replaced. False, with the reason, when it cannot.
    static bool write(const FontSheet& sheet, const std::string& path, std::string& error);
};

}  // namespace qa::font
