// The files of a disk folder of the file system, found from the working folder or from a given folder.
#pragma once

#include <filesystem>

#include "platform/file/FileSource.h"

namespace qa::platform::file {

class FolderSource : public FileSource {
  public:
    // Relative paths are found from `root`; from the working folder when it is empty.
    explicit FolderSource(std::filesystem::path root = {}) : root_(std::move(root)) {}

    bool exists(const std::string& windowsPath) override;
    std::unique_ptr<InputStream> open(const std::string& windowsPath) override;
    bool list(const std::string& pattern, std::vector<FileEntry>& out) override;
    FileStamp stamp(const std::string& windowsPath) override;
    std::string fileKey(const std::string& windowsPath) override;

  private:
    std::filesystem::path root_;
};

}  // namespace qa::platform::file
