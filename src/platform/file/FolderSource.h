// The files of a disk folder of the file system, found from the working folder.
#pragma once

#include "platform/FileSource.h"

namespace qa::platform::file {

class FolderSource : public FileSource {
  public:
    bool exists(const std::string& windowsPath) override;
    std::unique_ptr<InputStream> open(const std::string& windowsPath) override;
    bool list(const std::string& pattern, std::vector<FileEntry>& out) override;
};

}  // namespace qa::platform::file
