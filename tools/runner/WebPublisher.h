// Publishes a disk as a web page: the web player's files copied into a folder with the disk beside
// them as disk.qdisk, so that any static web server serves the folder and its index.html plays the disk.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qa::runner {

class WebPublisher {
  public:
    // The name the page loads the disk under, beside its index.html.
    static constexpr const char* kDiskName = "disk.qdisk";

    // The web player's folder: the one QA_WEB_PLAYER names when it is set, else the first of
    // `places` that holds a player. Empty when none does; `looked` then lists what was looked at.
    static std::filesystem::path findPlayer(const std::vector<std::filesystem::path>& places,
                                            std::vector<std::string>& looked);
    // The places a player is looked for without QA_WEB_PLAYER: beside the installed program
    // (PREFIX/share/quorvart/web for PREFIX/bin/quorvart-run), then the build tree's folder.
    static std::vector<std::filesystem::path> defaultPlaces();
    // Whether the folder holds a web player: its page, script and WebAssembly module.
    static bool isPlayer(const std::filesystem::path& folder);

    // `player`, a folder isPlayer() accepts; `out`, the folder to publish into.
    WebPublisher(std::filesystem::path player, std::filesystem::path out);

    // The player's files that are copied: every regular file at the top of its folder but a disk.
    std::vector<std::filesystem::path> playerFiles() const;
    // The disk's place in the published folder.
    std::filesystem::path diskPath() const { return out_ / kDiskName; }

    // Why the folder cannot be published into, one reason a line; empty when it can. The folder
    // must be absent or a folder, and each file to be written absent or a regular file that is none
    // of `inputs` (what the run reads) and lies in no folder of them.
    std::vector<std::string> refusals(const std::vector<std::filesystem::path>& inputs) const;
    // Creates the folder (and its parents) when it is absent; false with the reason when it cannot.
    bool makeFolder(std::string& reason) const;
    // Copies a file into the folder under its own name, through a temporary file renamed when
    // complete; false with the reason when it could not be written.
    bool copyIn(const std::filesystem::path& file, const std::string& name, std::string& reason) const;
    // Copies the player's files; false with the reason at the first that could not be written.
    bool copyPlayer(std::string& reason) const;

  private:
    std::filesystem::path player_;
    std::filesystem::path out_;
};

}  // namespace qa::runner
