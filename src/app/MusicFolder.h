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
    static constexpr const char* kPattern = ".\\data\\Quorv Part\\*.*";
    static constexpr const char* kPrefix = ".\\data\\Quorv Part\\";

    // Makes the player for a file: a stream player when `stream` is true, else a module player.
    using PlayerMaker =
        std::function<std::unique_ptr<sound::SoundObject>(const std::string& path, bool stream)>;

    // Lists the folder in `files`, makes a player for every file, keeps those that load (in listing
    // order) and starts the first. A folder that cannot be listed leaves the list empty.
    static void scan(platform::FileSource& files, sound::TrackList& tracks, const PlayerMaker& make);

    // Whether a full path names a stream: its last four bytes are exactly ".mp3" or ".ogg".
    static bool isStreamName(const std::string& path);
};

}  // namespace qa::app
