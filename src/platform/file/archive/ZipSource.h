// The files of a disk kept in a zip archive, read from it without unpacking. Paths resolve inside
// the archive only, the way they do in a disk folder (backslashes, doubled separators, letter-case
// fallback per component); a path that leaves the archive's top (absolute, or ".." above it) names
// nothing. An archive whose entries would leave it, or that declares files beyond the size bounds
// (of one entry, of all of them, and of what its packed entries unpack to against their packed
// size), is refused as a whole. Names are found through an index of each folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/file/FileSource.h"

namespace qa::platform::archive {

class ZipArchive;

class ZipSource : public FileSource {
  public:
    // The largest file an archive may declare, and the most entries it may hold.
    static constexpr std::uint64_t kMaxEntryBytes = 1ull << 30;
    static constexpr std::uint64_t kMaxEntries = 100000;
    // A large entry that unpacks to more than this many times its packed size is a zip bomb: real
    // pictures, sounds and modules come nowhere near it. The same holds for the packed entries
    // together, so unpacking a whole archive costs at most the larger of kBombBytes and kMaxRatio
    // times its size.
    static constexpr std::uint64_t kBombBytes = 64ull << 20;
    static constexpr std::uint64_t kMaxRatio = 200;
    // All the entries of one archive together.
    static constexpr std::uint64_t kMaxTotalBytes = 64ull << 30;

    // Null, with the reason in `reason`, when the archive cannot be read or is refused.
    static std::unique_ptr<ZipSource> load(const std::filesystem::path& archive, std::string& reason);
    // The same, over an archive held in memory, read in place. The bytes become the archive's:
    // they were allocated with malloc and are freed with free when the archive (and every stream
    // read from it) is gone, or at once when null is returned.
    static std::unique_ptr<ZipSource> loadFromMemory(void* bytes, std::size_t size, std::string& reason);

    bool exists(const std::string& windowsPath) override;
    std::unique_ptr<InputStream> open(const std::string& windowsPath) override;
    bool list(const std::string& pattern, std::vector<FileEntry>& out) override;
    std::string fileKey(const std::string& windowsPath) override;

  private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    struct Node {
        std::string name;
        bool directory = true;
        std::size_t parent = 0;
        std::vector<std::size_t> children;  // in archive order
        // For a folder: its children by name, and by name folded to one letter case (the least name
        // of those that fold alike), so that finding a name costs the same in any folder.
        std::unordered_map<std::string, std::size_t> byName;
        std::unordered_map<std::string, std::size_t> byFoldedName;
        // For a file: its archive entry, its size and how it is kept.
        std::uint64_t entry = 0;
        std::uint64_t size = 0;
        bool stored = false;
        bool readable = true;
    };

    explicit ZipSource(std::shared_ptr<ZipArchive> archive);
    // Builds the tree of names; false with the reason when an entry is refused.
    bool index(std::string& reason);
    // The child of `folder` named `name`, as written or else but for letter case; kNone if none.
    std::size_t child(std::size_t folder, const std::string& name) const;
    std::size_t find(const std::string& windowsPath) const;

    std::shared_ptr<ZipArchive> archive_;
    std::vector<Node> nodes_;  // nodes_[0] is the archive's top folder
};

}  // namespace qa::platform::archive
