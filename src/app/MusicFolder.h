// The music folder: every file in ".\data\Quorv Part\" becomes a track of the rotating playlist,
// ".mp3" and ".ogg" files as streams, any other file as a tracker module.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace qa::platform {
class FileSource;
}
namespace qa::sound {
class SoundObject;
class TrackList;
}  // namespace qa::sound

namespace qa::app {

class MusicFolder {
  public:
    // The folder's name under data/ (found whatever its letter case where names are compared).
    static constexpr const char* kFolder = "Quorv Part";
    static constexpr const char* kPattern = ".\\data\\Quorv Part\\*.*";
    static constexpr const char* kPrefix = ".\\data\\Quorv Part\\";

    // Makes the player for a file: a stream player when `stream` is true, else a module player.
    using PlayerMaker =
        std::function<std::unique_ptr<sound::SoundObject>(const std::string& path, bool stream)>;

    // Lists the folder in `files`, makes a player for every file, keeps those that load (in listing
    // order) and starts the first. A folder that cannot be listed leaves the list empty.
    static void scan(platform::FileSource& files, sound::TrackList& tracks, const PlayerMaker& make);

    // Whether a file of the folder (its name there) changed since the tracks were made.
    using ChangedName = std::function<bool(const std::string& fileName)>;

    // Lists the folder again after it changed, without a break in the music. A track whose file is
    // still there and did not change keeps its player; the others are made afresh, in listing
    // order. The current track keeps playing while its file is still there (changed or not: what
    // plays is what was read), and the rotation goes on after it in the new listing order. When its
    // file is gone, the music moves on as at the track's natural end: to the track that would have
    // come next (the first of the old rotation after it that is still there), unless the music is
    // paused. A folder that had no track starts its first, as at start-up.
    static void rescan(platform::FileSource& files, sound::TrackList& tracks, const PlayerMaker& make,
                       const ChangedName& changed);

    // Whether a full path names a stream: its last four bytes are exactly ".mp3" or ".ogg".
    static bool isStreamName(const std::string& path);
};

}  // namespace qa::app
