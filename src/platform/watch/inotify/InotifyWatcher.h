// A file watcher on the kernel's inotify: one watch per folder of the tree, read without waiting.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/watch/FileWatcher.h"

namespace qa::platform::watch {

class InotifyWatcher : public FileWatcher {
  public:
    InotifyWatcher();
    ~InotifyWatcher() override;
    InotifyWatcher(const InotifyWatcher&) = delete;
    InotifyWatcher& operator=(const InotifyWatcher&) = delete;

    bool watch(const std::string& folder) override;
    std::vector<std::string> changes() override;

  private:
    // Adds a watch on `relative` (below the root) and on every folder under it.
    void addTree(const std::string& relative);
    // Removes every watch below the root (the root itself included).
    void dropTree();

    int fd_ = -1;
    std::string root_;
    // The folder that holds the root, watched for the root's own name: a root deleted or moved away
    // and made again is watched again.
    int parentWd_ = -1;
    std::string rootName_;
    std::map<int, std::string> folders_;  // watch descriptor -> folder relative to the root ("" = root)
};

}  // namespace qa::platform::watch
