// Checks a disk the way an author wants: a scene document that cannot be read or parsed (with line,
// column and reason), statements whose command word is unknown, files that do not exist, and
// scripts cut short because they nested or ran too long.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace qa::platform {
class FileSource;
}

namespace qa::runner {

class SceneChecker {
  public:
    // Checks the disk whose files `files` holds (null: the disk in the current folder); the problems
    // found, one line each.
    std::vector<std::string> check(std::shared_ptr<platform::FileSource> files = nullptr);
};

}  // namespace qa::runner
