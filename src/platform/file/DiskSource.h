// Opening a disk: picks the file source that reads it, a folder or an archive.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/file/FileSource.h"

namespace qa::platform::file {

// The disk at `disk`: a folder (the one that holds data/) read in place, or a .qdisk file (a zip
// archive of such a folder) read from the archive. Null, with `error` set for the user, when it is
// neither or the archive is damaged or refused.
std::shared_ptr<FileSource> openDisk(const std::filesystem::path& disk, std::string& error);
// A packed disk held in memory (its bytes allocated with malloc, which become the source's, freed when
// it is gone); `name` is how messages name it. Null, with the reason in `error`, when it cannot be
// opened.
std::shared_ptr<FileSource> openDiskInMemory(void* bytes, std::size_t size, const std::string& name,
                                             std::string& error);
// Whether `disk` names a disk kept in one file rather than a folder.
bool isDiskFile(const std::filesystem::path& disk);

}  // namespace qa::platform::file
