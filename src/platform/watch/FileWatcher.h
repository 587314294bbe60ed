// Tells whether files under a folder changed since it was last asked, without reading the tree.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace qa::platform::watch {

class FileWatcher {
  public:
    virtual ~FileWatcher() = default;

    // Starts watching `folder` and every folder below it; false when it cannot be watched.
    virtual bool watch(const std::string& folder) = 0;

    // The paths (relative to the watched folder) that were written, created, removed or renamed since
    // the last call; empty when nothing changed. Never waits.
    virtual std::vector<std::string> changes() = 0;

    // The watcher of this platform.
    static std::unique_ptr<FileWatcher> create();
};

}  // namespace qa::platform::watch
