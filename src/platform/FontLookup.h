// Finds the font file for a face name and style through the system's font configuration
// (fontconfig), which also stands in a metric-compatible face where the one asked for is absent.
#pragma once

#include <string>

namespace qa::platform {

class FontLookup {
  public:
    // The file of the face that best matches the family, weight (100 to 900, 400 regular, 700 bold)
    // and slant; empty when the system has no font at all. On failure a message naming the face is
    // written to standard error, once per face and style.
    static std::string find(const std::string& family, int weight, bool italic);

    // The message for a face that cannot be found.
    static std::string missingMessage(const std::string& family, int weight, bool italic);
};

}  // namespace qa::platform
