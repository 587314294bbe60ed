// Font file lookup in the page: the player carries its fonts (Liberation Sans, the face the desktop's
// font configuration stands in for the scenes' usual faces, regular and bold; nothing draws slanted
// text, so a slanted face is asked for the upright one) in its own file system under /fonts.
#include "platform/FontLookup.h"

#include <cstdio>
#include <filesystem>

namespace qa::platform {

std::string FontLookup::find(const std::string& family, int weight, bool italic) {
    const std::string path =
        std::string("/fonts/LiberationSans-") + (weight >= 600 ? "Bold" : "Regular") + ".ttf";
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) return path;
    static bool reported = false;
    if (!reported) {
        reported = true;
        std::fprintf(stderr, "%s\n", missingMessage(family, weight, italic).c_str());
    }
    return {};
}

std::string FontLookup::missingMessage(const std::string& family, int weight, bool italic) {
    std::string style = weight >= 600 ? "bold" : "regular";
    if (italic) style += " italic";
    return "quorvart: no font found for \"" + family + "\" (" + style + "); text in this face is not shown";
}

}  // namespace qa::platform
