// Packs a disk folder into one .qdisk file: the scene document, the files the scene uses and the music
// folder, each under its name in the folder; everything else stays out and is listed. Files that lie
// outside the folder, or are reached through links leading out of it, stop the pack. The archive is
// written under a fresh temporary name and renamed when complete, never over one of its own files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace qa::runner {

class DiskPacker {
  public:
    struct Entry {
        std::string name;  // in the archive: the path in the folder, '/' between components
        std::filesystem::path file;
        std::uintmax_t bytes = 0;
        std::string what;  // how the scene uses it
    };
    struct Plan {
        std::vector<Entry> entries;        // what goes in, in the order the scene names it
        std::vector<std::string> missing;  // named but not there (not packed; the disk plays without them)
        std::vector<std::string> outside;  // named files outside the disk folder, or links out of it
        std::vector<std::string> leftOut;  // files of the folder the scene does not use
    };

    // The disk in `root`, a folder holding data/.
    explicit DiskPacker(std::filesystem::path root);

    // Works out what goes in; false with the reason when the scene cannot be loaded. `out`, the
    // archive to be written, is never counted among the folder's files.
    bool plan(Plan& plan, std::string& reason, const std::filesystem::path& out = {}) const;

    // Plans and writes `out`, reporting what went in, its size and what stayed out on `report`, and
    // problems on `errors`. The exit code: 0 packed, 1 the disk cannot be packed as it is, 2 the file
    // cannot be written.
    int pack(const std::filesystem::path& out, std::FILE* report, std::FILE* errors) const;

    // Whether a file is kept as it is in the archive (formats that are compressed already, so that
    // streams seek directly) rather than compressed.
    static bool storedAsIs(const std::string& name);

  private:
    bool write(const Plan& plan, const std::filesystem::path& out, std::string& reason) const;

    std::filesystem::path root_;
};

}  // namespace qa::runner
