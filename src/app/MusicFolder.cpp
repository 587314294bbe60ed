// The music folder scan.
#include "app/MusicFolder.h"

#include <vector>

#include "platform/FileSource.h"
#include "sound/SoundObject.h"
#include "sound/TrackList.h"

namespace qa::app {

bool MusicFolder::isStreamName(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string last = path.substr(path.size() - 4);
    return last == ".mp3" || last == ".ogg";
}

void MusicFolder::scan(platform::FileSource& files, sound::TrackList& tracks, const PlayerMaker& make) {
    std::vector<platform::FileEntry> entries;
    if (files.list(kPattern, entries)) {
        for (const platform::FileEntry& entry : entries) {
            if (entry.directory) continue;
            const std::string path = std::string(kPrefix) + entry.name;
            std::unique_ptr<sound::SoundObject> player = make(path, isStreamName(path));
            if (!player) continue;
            player->SetLoop(false);
            if (player->IsLoaded()) {
                tracks.append(std::move(player));
            } else {
                // It never held a library object: freed without a cleanup line.
                player->dropQuietly();
            }
        }
    }
    tracks.startFront();
}

}  // namespace qa::app
