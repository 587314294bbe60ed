// The sound library's shared state.
#include "platform/audio/LibraryCore.h"

#include "platform/file/FolderSource.h"

namespace qa::platform::audio {

LibraryCore::LibraryCore(std::shared_ptr<FileSource> files)
    : files_(files ? std::move(files) : std::make_shared<file::FolderSource>()) {}

bool LibraryCore::started() {
    std::lock_guard lock(mutex);
    if (!initialised) return fail(kErrNotInitialised);
    return true;
}

}  // namespace qa::platform::audio
