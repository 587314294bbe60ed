// The files a scene names: whether each exists as written, only with another letter case, or not at
// all (with the nearest existing name), and what the music folder holds.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "check/Finding.h"
#include "check/FindingReport.h"

namespace qa::check {

class FileChecks {
  public:
    enum class Found {
        Exactly,    // the path exists as written
        OtherCase,  // it exists only when letter case is ignored (as the engine looks files up)
        Missing,
    };
    struct Lookup {
        Found found = Found::Missing;
        bool folder = false;     // what was found is a folder
        std::string actual;      // OtherCase: the path as the files are really spelt
        std::string suggestion;  // Missing: the nearest existing path, if one is close
    };

    // Looks the path up (a Windows-style path, relative to the disk); results are kept per path.
    const Lookup& look(const std::string& windowsPath);

    // Reports a file that an item needs: an error when it is missing, a warning when it matches only
    // with another letter case. `what` names it for the author ("picture", "font sheet", ...).
    void require(const std::string& windowsPath, const char* what, Finding where, FindingReport& report);

    // The music folder and its tracks.
    static constexpr const char* kMusicFolder = ".\\data\\Quorv Part";
    static constexpr const char* kMusicPrefix = ".\\data\\Quorv Part\\";
    static constexpr const char* kMusicShown = "data/Quorv Part";
    // Whether the folder exists (in any letter case).
    bool musicFolderExists();
    // The track names the music folder scan makes (prefix and file name), in its order.
    const std::vector<std::string>& trackNames();
    // Reports the music folder: one that is missing (only when `needed`, scripts use the music), spelt
    // with another letter case, or holding no playable track, and files that will not play.
    void checkMusicFolder(bool needed, FindingReport& report);

    // Whether a file name of the music folder plays: ".mp3" or ".ogg" in lower case as streams, tracker
    // module names as modules.
    static bool playableName(const std::string& fileName);

  private:
    // The entries of a folder (native path), cached.
    const std::vector<std::string>& entries(const std::string& folder);

    std::map<std::string, Lookup> lookups_;
    std::map<std::string, std::vector<std::string>> folders_;
    bool tracksListed_ = false;
    std::vector<std::string> tracks_;
};

}  // namespace qa::check
