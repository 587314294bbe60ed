// Where a disk's files come from: a folder of the file system or an archive. Paths are written the
// way a Windows program writes them (backslashes separate, doubled separators are harmless, a
// component that does not exist as written is matched case-insensitively); names are byte strings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file/InputStream.h"

namespace qa::platform {

struct FileEntry {
    std::string name;
    bool directory = false;
};

// What tells a file's present contents from earlier ones without reading it: its modification time,
// size and file number. An unknown stamp matches nothing, not even itself.
struct FileStamp {
    bool known = false;
    std::int64_t modified = 0;  // nanoseconds since the epoch
    std::uint64_t size = 0;
    std::uint64_t fileNumber = 0;

    bool sameAs(const FileStamp& other) const {
        return known && other.known && modified == other.modified && size == other.size &&
               fileNumber == other.fileNumber;
    }
};

class FileSource {
  public:
    virtual ~FileSource() = default;

    // Whether the path names anything (a file, a folder or anything else).
    virtual bool exists(const std::string& windowsPath) = 0;
    // The file opened for reading; null when it is missing, is not a regular file, or cannot be read.
    virtual std::unique_ptr<InputStream> open(const std::string& windowsPath) = 0;
    // Lists a folder given by a pattern such as ".\data\Quorv Part\*.*" (only the folder part is used;
    // every entry matches). The entries "." and ".." come first, as folders, then the folder's
    // entries in case-insensitive name order, ties broken by bytes. False when there is no such folder.
    virtual bool list(const std::string& pattern, std::vector<FileEntry>& out) = 0;
    // The stamp of the regular file the path names; unknown when there is none or the source cannot
    // tell (an archive's files never change while it is open, but nothing asks there).
    virtual FileStamp stamp(const std::string& windowsPath) {
        (void)windowsPath;
        return {};
    }
    // A name for the file the path resolves to, the same for every spelling of that file (either
    // separator, "." and ".." components, letter case, links); empty when the path names no regular
    // file. A source that cannot tell gives the path as written.
    virtual std::string fileKey(const std::string& windowsPath) { return windowsPath; }
};

}  // namespace qa::platform
