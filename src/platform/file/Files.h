// File access with paths written the way a Windows program writes them: backslashes separate,
// doubled slashes are harmless, and a component that does not exist as written is matched
// case-insensitively. Names are byte strings; listings come in a fixed order. Only regular files
// are read: a folder, a named pipe or a device named like a file is a file that cannot be opened.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/file/FileSource.h"
#include "platform/file/InputStream.h"

namespace qa::platform {

class Files {
  public:
    using Entry = FileEntry;

    // The native path for a Windows-style path; the text as written (slashes fixed) when nothing matches.
    // A relative path is found from `base` (the working folder when empty).
    static std::filesystem::path resolve(const std::string& windowsPath,
                                         const std::filesystem::path& base = {});

    static bool exists(const std::string& windowsPath, const std::filesystem::path& base = {});

    // The file opened for reading; null when it is missing, is not a regular file, or cannot be opened.
    static std::unique_ptr<InputStream> open(const std::string& windowsPath,
                                             const std::filesystem::path& base = {});

    // Reads the whole file; false when it cannot be opened. maxBytes bounds what is read.
    static bool readAll(const std::string& windowsPath, std::string& out,
                        std::uint64_t maxBytes = UINT64_MAX);
    // The rest of an opened file, up to maxBytes.
    static bool readAll(InputStream& file, std::string& out, std::uint64_t maxBytes = UINT64_MAX);

    // The stamp of the regular file the path names; unknown when there is none.
    static FileStamp stamp(const std::string& windowsPath, const std::filesystem::path& base = {});
    // The device and file number of the regular file the path names, as text; empty when there is none.
    static std::string fileKey(const std::string& windowsPath, const std::filesystem::path& base = {});

    // Lists a folder given by a pattern such as ".\data\Quorv Part\*.*" (only the folder part is used;
    // every entry matches). The entries "." and ".." come first, as directories, then the folder's
    // entries in case-insensitive name order, ties broken by bytes. False when the folder cannot be read.
    static bool list(const std::string& pattern, std::vector<Entry>& out,
                     const std::filesystem::path& base = {});

    // A file opened for reading in blocks.
    class Reader {
      public:
        explicit Reader(const std::string& windowsPath);
        ~Reader();
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;
        bool isOpen() const { return file_ != nullptr; }
        // Bytes read into buf, 0 at the end or on error.
        std::size_t read(char* buf, std::size_t size);

      private:
        std::unique_ptr<InputStream> file_;
    };
};

}  // namespace qa::platform
