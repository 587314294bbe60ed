// The command line of quorvart-font.
#pragma once

#include <string>

#include "font/FontSheet.h"

namespace qa::font {

struct FontToolOptions {
    std::string fontPath;
    int pixelSize = 0;
    std::string outPath;
    SheetStyle style;
    bool help = false;
    bool version = false;

    // Reads the arguments (argv[0] is the program). False, with the reason, on bad usage.
    bool parse(int argc, const char* const* argv, std::string& error);
    static const char* usage();

    static constexpr int kMinSize = 4;
    static constexpr int kMaxSize = 160;
    static constexpr int kMaxEffect = 32;  // outline thickness and shadow offsets, in pixels
};

}  // namespace qa::font
