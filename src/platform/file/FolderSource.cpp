// The folder's files through the platform's path resolution and regular-file opening.
#include "platform/file/FolderSource.h"

#include "platform/file/Files.h"

namespace qa::platform::file {

bool FolderSource::exists(const std::string& windowsPath) {
    return Files::exists(windowsPath, root_);
}

std::unique_ptr<InputStream> FolderSource::open(const std::string& windowsPath) {
    return Files::open(windowsPath, root_);
}

bool FolderSource::list(const std::string& pattern, std::vector<FileEntry>& out) {
    return Files::list(pattern, out, root_);
}

FileStamp FolderSource::stamp(const std::string& windowsPath) {
    return Files::stamp(windowsPath, root_);
}

std::string FolderSource::fileKey(const std::string& windowsPath) {
    return Files::fileKey(windowsPath, root_);
}

}  // namespace qa::platform::file
