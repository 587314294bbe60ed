// Opening a disk: a folder as a folder source, any other file as a zip archive.
#include "platform/file/DiskSource.h"

#include <system_error>

#include "platform/file/FolderSource.h"
#include "platform/file/archive/ZipSource.h"

namespace fs = std::filesystem;

namespace qa::platform::file {

bool isDiskFile(const fs::path& disk) {
    std::error_code ec;
    return fs::exists(disk, ec) && !fs::is_directory(disk, ec);
}

std::shared_ptr<FileSource> openDisk(const fs::path& disk, std::string& error) {
    std::error_code ec;
    const fs::file_status status = fs::status(disk, ec);
    if (ec || !fs::exists(status)) {
        error = "the disk " + disk.string() + " does not exist";
        return nullptr;
    }
    if (fs::is_directory(status)) {
        fs::path root = fs::absolute(disk, ec);
        return std::make_shared<FolderSource>(ec ? disk : root);
    }
    std::string reason;
    std::shared_ptr<FileSource> archive = archive::ZipSource::load(disk, reason);
    if (!archive) {
        error = "the disk " + disk.string() + " cannot be opened: " + reason;
        return nullptr;
    }
    // An archive made of the disk's folder itself (its data/ one level down) would play nothing.
    if (!archive->exists("data")) {
        error = "the disk " + disk.string() + " cannot be opened: no data folder at its top";
        return nullptr;
    }
    return archive;
}

}  // namespace qa::platform::file
