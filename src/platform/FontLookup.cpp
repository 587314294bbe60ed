// Font file lookup with fontconfig.
#include "platform/FontLookup.h"

#include <fontconfig/fontconfig.h>

#include <atomic>
#include <cstdio>
#include <filesystem>

namespace qa::platform {

namespace {

// Set once a missing font has been reported: fontconfig only finds nothing when the system has no
// usable font at all, so every later lookup would fail the same way.
std::atomic<bool> reported{false};

std::string match(const std::string& family, int weight, bool italic) {
    if (!FcInit()) return {};
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return {};
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    std::string path;
    FcResult result = FcResultNoMatch;
    if (FcPattern* found = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file) {
            path = reinterpret_cast<const char*>(file);
        }
        FcPatternDestroy(found);
    }
    FcPatternDestroy(pattern);

    // A configuration may still name a file that has since gone.
    std::error_code ec;
    if (!path.empty() && !std::filesystem::is_regular_file(path, ec)) path.clear();
    return path;
}

}  // namespace

std::string FontLookup::find(const std::string& family, int weight, bool italic) {
    std::string path = match(family, weight, italic);
    if (path.empty() && !reported.exchange(true)) {
        std::fprintf(stderr, "%s\n", missingMessage(family, weight, italic).c_str());
    }
    return path;
}

std::string FontLookup::missingMessage(const std::string& family, int weight, bool italic) {
    std::string style = weight >= 600 ? "bold" : "regular";
    if (italic) style += " italic";
    return "quorvart: no font found for \"" + family + "\" (" + style +
           "); text in this face is not shown (install a font such as fonts-liberation)";
}

}  // namespace qa::platform
