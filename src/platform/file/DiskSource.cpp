// Opening a disk: a folder as a folder source, any other file as a zip archive.
#include "platform/file/DiskSource.h"

#include <system_error>

#include "platform/file/FolderSource.h"
#include "platform/file/archive/ZipSource.h"

namespace fs = std::filesystem;

namespace qa::platform::file {

namespace {

// The archive, unless it holds no data folder at its top (an archive of the disk's folder itself).
std::shared_ptr<FileSource> archiveWithData(std::shared_ptr<FileSource> archive, const std::string& name,
                                            std::string& error) {
    // An archive made of the disk's folder itself (its data/ one level down) would play nothing.
    if (!archive->exists("data")) {
        error = "the disk " + name + " cannot be opened: no data folder at its top";
        return nullptr;
    }
    return archive;
}

}  // namespace

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
    return archiveWithData(std::move(archive), disk.string(), error);
}

std::shared_ptr<FileSource> openDiskInMemory(void* bytes, std::size_t size, const std::string& name,
                                             std::string& error) {
    std::string reason;
    std::shared_ptr<FileSource> archive = archive::ZipSource::loadFromMemory(bytes, size, reason);
    if (!archive) {
        error = "the disk " + name + " cannot be opened: " + reason;
        return nullptr;
    }
    return archiveWithData(std::move(archive), name, error);
}

}  // namespace qa::platform::file
