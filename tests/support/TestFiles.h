// Files for tests: a file's bytes read and written whole, zip archives made from name and bytes, and
// a text search that reads as what it asks.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace qa::test {

// The whole file, or nothing when it cannot be read.
std::string bytesOf(const std::filesystem::path& path);
// Writes the file whole, making its folders first.
void put(const std::filesystem::path& path, const std::string& bytes);
// Whether the text holds the part.
bool contains(const std::string& text, const std::string& part);
// Whether any of the lines holds the part.
bool contains(const std::vector<std::string>& lines, const std::string& part);
// A zip archive of (name, bytes) entries, deflated unless `store`; a name ending in '/' is a folder.
// Fails the test (non-fatally for the caller) when the archive cannot be written.
void writeZip(const std::filesystem::path& path,
              const std::vector<std::pair<std::string, std::string>>& files, bool store = false);

}  // namespace qa::test
