// The files a disk's scene uses, as the scene names them: the scene document, every item's picture,
// font sheet and text file, every sound effect a script plays (timer scripts included), the cursor
// picture and every file of the music folder.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace qa::platform {
class FileSource;
}

namespace qa::runner {

class UsedFiles {
  public:
    struct Use {
        std::string name;   // as the scene names it
        std::string what;   // "picture", "sound effect", ...
        std::string where;  // the item that names it, or empty
    };

    // Loads the scene from `files` (its onLoad scripts run, nothing plays) and notes what it names.
    // False, with the reason, when the scene document cannot be loaded.
    bool collect(const std::shared_ptr<platform::FileSource>& files, std::string& reason);

    // Each name once, in the order first named.
    const std::vector<Use>& uses() const { return uses_; }

    // The sound effects a script names, in its timer scripts too.
    static std::vector<std::string> effectsIn(const std::string& script);

  private:
    void add(const std::string& name, const char* what, const std::string& where);

    std::vector<Use> uses_;
};

}  // namespace qa::runner
