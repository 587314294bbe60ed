// The music folder scan.
#include "app/MusicFolder.h"

#include <algorithm>
#include <list>
#include <vector>

#include "platform/file/FileSource.h"
#include "sound/SoundObject.h"
#include "sound/TrackList.h"

namespace qa::app {

bool MusicFolder::isStreamName(const std::string& path) {
    if (path.size() < 4) return false;
    const std::string last = path.substr(path.size() - 4);
    return last == ".mp3" || last == ".ogg";
}

namespace {

// The player for a file of the folder, looping off; null when it does not load.
std::unique_ptr<sound::SoundObject> loadTrack(const std::string& path, const MusicFolder::PlayerMaker& make) {
    std::unique_ptr<sound::SoundObject> player = make(path, MusicFolder::isStreamName(path));
    if (!player) return nullptr;
    player->SetLoop(false);
    if (player->IsLoaded()) return player;
    // It never held a library object: freed without a cleanup line.
    player->dropQuietly();
    return nullptr;
}

}  // namespace

void MusicFolder::scan(platform::FileSource& files, sound::TrackList& tracks, const PlayerMaker& make) {
    std::vector<platform::FileEntry> entries;
    if (files.list(kPattern, entries)) {
        for (const platform::FileEntry& entry : entries) {
            if (entry.directory) continue;
            if (auto player = loadTrack(std::string(kPrefix) + entry.name, make))
                tracks.append(std::move(player));
        }
    }
    tracks.startFront();
}

void MusicFolder::rescan(platform::FileSource& files, sound::TrackList& tracks, const PlayerMaker& make,
                         const ChangedName& changed) {
    using Track = std::unique_ptr<sound::SoundObject>;
    std::list<Track> old = tracks.takeAll();
    // The old rotation, current track first, to find what comes after a current track that is gone.
    std::vector<sound::SoundObject*> rotation;
    for (const Track& t : old) rotation.push_back(t.get());
    sound::SoundObject* const current = rotation.empty() ? nullptr : rotation.front();

    std::list<Track> next;
    std::vector<platform::FileEntry> entries;
    if (files.list(kPattern, entries)) {
        for (const platform::FileEntry& entry : entries) {
            if (entry.directory) continue;
            const std::string path = std::string(kPrefix) + entry.name;
            auto kept =
                std::find_if(old.begin(), old.end(), [&](const Track& t) { return t->GetName() == path; });
            if (kept != old.end() && (kept->get() == current || !changed(entry.name))) {
                next.splice(next.end(), old, kept);
                continue;
            }
            if (auto player = loadTrack(path, make)) next.push_back(std::move(player));
        }
    }
    auto placeOf = [&next](const sound::SoundObject* t) {
        return std::find_if(next.begin(), next.end(), [t](const Track& n) { return n.get() == t; });
    };
    // The new front: the current track while it is there, else the first of the old rotation after
    // it that is still there, else the first of the listing.
    const bool currentKept = current && placeOf(current) != next.end();
    auto front = next.begin();
    for (sound::SoundObject* t : rotation) {
        if (t == current && !currentKept) continue;
        if (placeOf(t) != next.end()) {
            front = placeOf(t);
            break;
        }
    }
    next.splice(next.end(), next, next.begin(), front);
    tracks.replaceAll(std::move(next));
    // What is left of the old list goes now, the current track too when its file is gone (that
    // stops it).
    old.clear();
    if (currentKept || tracks.empty()) return;
    if (!current) {
        tracks.startFront();  // the folder had no track: as at start-up
    } else if (!tracks.paused()) {
        tracks.traceStart(tracks.current(), "play");
        tracks.current()->Play(true);
    }
}

}  // namespace qa::app
