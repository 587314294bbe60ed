// The rules a disk's names follow wherever its files are kept: how a Windows-style path splits into
// components, when two names are the same but for letter case, and the order of a folder listing.
#pragma once

#include <string>
#include <vector>

#include "platform/file/FileSource.h"

namespace qa::platform {

class PathNames {
  public:
    // Splits on '\' and '/', dropping empty components (so "data//x" is "data", "x").
    static std::vector<std::string> components(const std::string& path);
    // Equal but for the letter case of ASCII letters.
    static bool sameButCase(const std::string& a, const std::string& b);
    // The name with its ASCII letters in lower case: two names are the same but for case exactly when
    // these are equal (a key for finding names that way).
    static std::string folded(const std::string& name);
    // The folder part of a listing pattern such as ".\data\x\*.*": everything before the last
    // separator, or "." when there is none.
    static std::string patternFolder(const std::string& pattern);
    // "." and ".." as folders, then `entries` in case-insensitive name order, ties broken by bytes.
    static std::vector<FileEntry> listing(std::vector<FileEntry> entries);
};

}  // namespace qa::platform
