// The music folder scan and the rotating track list.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/MusicFolder.h"
#include "platform/file/FolderSource.h"
#include "sound/TrackList.h"
#include "support/FakeSound.h"
#include "support/TempDisk.h"

namespace qa::app {
namespace {

using test::FakeSound;

struct Made {
    std::string path;
    bool stream;
};

std::vector<std::string> names(const sound::TrackList& list) {
    std::vector<std::string> out;
    for (const auto& t : list.tracks()) out.push_back(t->GetName());
    return out;
}

TEST(MusicFolderScan, ListingOrderKindsAndTheCaseRule) {
    test::TempDisk disk;
    for (const char* f : {"b.ogg", "a.mp3", "c.xm", "Track.MP3", "notes.txt"})
        disk.write(std::string("data/Quorv Part/") + f, "x");
    std::filesystem::create_directories(disk.root() / "data/Quorv Part/old");
    FakeSound::log().clear();
    std::vector<Made> made;
    sound::TrackList tracks;
    platform::file::FolderSource folder;
    MusicFolder::scan(
        folder, tracks, [&](const std::string& path, bool stream) -> std::unique_ptr<sound::SoundObject> {
            made.push_back({path, stream});
            // Modules load only from .xm here: Track.MP3 and notes.txt are tried as modules and fail.
            bool loads = stream || (path.size() > 3 && path.compare(path.size() - 3, 3, ".xm") == 0);
            return std::make_unique<FakeSound>(path, loads);
        });
    ASSERT_EQ(made.size(), 5u);
    // The listing is in case-insensitive name order; the sub-folder is skipped.
    EXPECT_EQ(made[0].path, ".\\data\\Quorv Part\\a.mp3");
    EXPECT_TRUE(made[0].stream);
    EXPECT_EQ(made[1].path, ".\\data\\Quorv Part\\b.ogg");
    EXPECT_EQ(made[2].path, ".\\data\\Quorv Part\\c.xm");
    EXPECT_FALSE(made[2].stream);
    EXPECT_EQ(made[4].path, ".\\data\\Quorv Part\\Track.MP3");
    EXPECT_FALSE(made[4].stream);
    EXPECT_EQ(names(tracks),
              (std::vector<std::string>{".\\data\\Quorv Part\\a.mp3", ".\\data\\Quorv Part\\b.ogg",
                                        ".\\data\\Quorv Part\\c.xm"}));
    // Loop is switched off before the load is tested; dropped players go quietly; the first plays.
    const auto& log = FakeSound::log();
    EXPECT_EQ(log[0], "loop .\\data\\Quorv Part\\a.mp3 0");
    EXPECT_NE(std::find(log.begin(), log.end(), "quiet .\\data\\Quorv Part\\Track.MP3"), log.end());
    EXPECT_EQ(log.back(), "play .\\data\\Quorv Part\\a.mp3 1");
    tracks.destroyAll();
}

TEST(MusicFolderScan, MissingOrEmptyFolderLeavesTheListEmpty) {
    test::TempDisk disk;
    sound::TrackList tracks;
    int calls = 0;
    auto make = [&](const std::string& p, bool) -> std::unique_ptr<sound::SoundObject> {
        ++calls;
        return std::make_unique<FakeSound>(p);
    };
    platform::file::FolderSource folder;
    MusicFolder::scan(folder, tracks, make);
    EXPECT_TRUE(tracks.empty());
    std::filesystem::create_directories(disk.root() / "data/Quorv Part/sub");
    MusicFolder::scan(folder, tracks, make);
    EXPECT_TRUE(tracks.empty());
    EXPECT_EQ(calls, 0);
    tracks.advance();  // nothing to advance
}

TEST(TrackListRotation, EndedTrackMovesBackUnlessPaused) {
    sound::TrackList tracks;
    auto* t1 = new FakeSound("T1");
    auto* t2 = new FakeSound("T2");
    tracks.append(std::unique_ptr<sound::SoundObject>(t1));
    tracks.append(std::unique_ptr<sound::SoundObject>(t2));
    tracks.startFront();
    tracks.advance();
    EXPECT_EQ(tracks.current(), t1);
    t1->end();
    tracks.setPaused(true);
    tracks.advance();
    EXPECT_EQ(tracks.current(), t1);  // paused: nothing moves
    tracks.setPaused(false);
    tracks.advance();
    EXPECT_EQ(tracks.current(), t2);
    EXPECT_TRUE(t2->IsPlaying());
    EXPECT_EQ(names(tracks), (std::vector<std::string>{"T2", "T1"}));
    tracks.destroyAll();
}

TEST(TrackListRotation, SingleTrackStartsAgainAndUnplayableRotatesEveryFrame) {
    sound::TrackList tracks;
    auto* only = new FakeSound("only");
    tracks.append(std::unique_ptr<sound::SoundObject>(only));
    tracks.startFront();
    only->end();
    tracks.advance();
    EXPECT_TRUE(only->IsPlaying());
    tracks.destroyAll();

    auto* a = new FakeSound("a", false);
    auto* b = new FakeSound("b", false);
    tracks.append(std::unique_ptr<sound::SoundObject>(a));
    tracks.append(std::unique_ptr<sound::SoundObject>(b));
    tracks.advance();
    EXPECT_EQ(tracks.current(), b);
    tracks.advance();
    EXPECT_EQ(tracks.current(), a);
    tracks.destroyAll();
}

// The music folder of a temporary disk, scanned and read again after changes.
struct WatchedFolder {
    test::TempDisk disk;
    platform::file::FolderSource folder;
    sound::TrackList tracks;
    std::vector<std::string> made;  // file names, in the order their players were made

    WatchedFolder(std::initializer_list<const char*> files) {
        for (const char* f : files) add(f);
        FakeSound::log().clear();
        MusicFolder::scan(folder, tracks, maker());
    }
    ~WatchedFolder() { tracks.destroyAll(); }
    MusicFolder::PlayerMaker maker() {
        return [this](const std::string& path, bool) -> std::unique_ptr<sound::SoundObject> {
            made.push_back(path.substr(std::string(MusicFolder::kPrefix).size()));
            return std::make_unique<FakeSound>(path);
        };
    }
    void add(const std::string& f) const { disk.write("data/Quorv Part/" + f, "x"); }
    void remove(const std::string& f) const { std::filesystem::remove(disk.root() / "data/Quorv Part" / f); }
    // Reads the folder again; `changed` are the file names that count as changed.
    void rescan(std::vector<std::string> changed) {
        made.clear();
        FakeSound::log().clear();
        MusicFolder::rescan(folder, tracks, maker(), [changed](const std::string& name) {
            return std::find(changed.begin(), changed.end(), name) != changed.end();
        });
    }
    FakeSound* track(const std::string& f) const {
        for (const auto& t : tracks.tracks())
            if (t->GetName() == MusicFolder::kPrefix + f) return static_cast<FakeSound*>(t.get());
        return nullptr;
    }
    std::vector<std::string> order() const {
        std::vector<std::string> out;
        for (const std::string& n : names(tracks))
            out.push_back(n.substr(std::string(MusicFolder::kPrefix).size()));
        return out;
    }
    static bool logged(const std::string& line) {
        const auto& log = FakeSound::log();
        return std::find(log.begin(), log.end(), line) != log.end();
    }
};

TEST(MusicFolderRescan, TheCurrentTrackPlaysOnAndTheRotationGoesOnFromItsPlaceInTheNewListing) {
    WatchedFolder w{"a.ogg", "c.ogg", "e.ogg"};
    FakeSound* a = w.track("a.ogg");
    a->end();
    w.tracks.advance();
    FakeSound* c = w.track("c.ogg");
    FakeSound* e = w.track("e.ogg");
    c->advance(12.5f);
    ASSERT_EQ(w.tracks.current(), c);

    w.add("b.ogg");
    w.add("d.ogg");
    w.rescan({"b.ogg", "d.ogg"});
    // Only the new files are read; c goes on where it was, untouched; after it comes d, then e.
    EXPECT_EQ(w.made, (std::vector<std::string>{"b.ogg", "d.ogg"}));
    EXPECT_EQ(w.order(), (std::vector<std::string>{"c.ogg", "d.ogg", "e.ogg", "a.ogg", "b.ogg"}));
    EXPECT_EQ(w.tracks.current(), c);
    EXPECT_TRUE(c->IsPlaying());
    EXPECT_EQ(c->position(), 12.5f);
    EXPECT_EQ(w.track("e.ogg"), e);
    EXPECT_EQ(w.track("a.ogg"), a);
    EXPECT_TRUE(FakeSound::log().size() == 2u && FakeSound::log()[0] == "loop .\\data\\Quorv Part\\b.ogg 0")
        << "nothing but the new tracks' loop switches: no play, no stop, no restart";

    // A rewritten file is read again, except the current track's, which plays on as it was read.
    w.rescan({"e.ogg", "c.ogg"});
    EXPECT_EQ(w.made, (std::vector<std::string>{"e.ogg"}));
    EXPECT_TRUE(WatchedFolder::logged("destroy .\\data\\Quorv Part\\e.ogg"));
    EXPECT_EQ(w.tracks.current(), c);
    EXPECT_EQ(c->position(), 12.5f);
    EXPECT_EQ(w.order(), (std::vector<std::string>{"c.ogg", "d.ogg", "e.ogg", "a.ogg", "b.ogg"}));

    // Its end moves the rotation on through the new listing.
    c->end();
    w.tracks.advance();
    EXPECT_EQ(w.tracks.current(), w.track("d.ogg"));
    EXPECT_TRUE(w.track("d.ogg")->IsPlaying());
}

TEST(MusicFolderRescan, ARemovedCurrentTrackStopsAndTheMusicMovesOnAsAtItsEnd) {
    for (const bool paused : {false, true}) {
        WatchedFolder w{"a.ogg", "b.ogg", "c.ogg"};
        // PlayTrack made c current: the rotation is c, a, b.
        FakeSound* c = w.track("c.ogg");
        w.tracks.current()->Play(false);
        c->Play(true);
        w.tracks.moveToFront(c);
        w.tracks.setPaused(paused);

        // c and a go, d comes: after c the rotation had a (gone), then b.
        w.remove("c.ogg");
        w.remove("a.ogg");
        w.add("d.ogg");
        w.rescan({"c.ogg", "a.ogg", "d.ogg"});
        EXPECT_TRUE(WatchedFolder::logged("destroy .\\data\\Quorv Part\\c.ogg")) << paused;
        EXPECT_EQ(w.order(), (std::vector<std::string>{"b.ogg", "d.ogg"})) << paused;
        // Unless the music is paused, b starts at once, as when a track ends.
        EXPECT_EQ(w.track("b.ogg")->IsPlaying(), !paused) << paused;
        EXPECT_EQ(WatchedFolder::logged("play .\\data\\Quorv Part\\b.ogg 1"), !paused) << paused;
    }
}

TEST(MusicFolderRescan, AFolderThatComesStartsItsFirstTrackAndOneThatGoesStopsTheMusic) {
    WatchedFolder w{};
    ASSERT_TRUE(w.tracks.empty());
    w.add("b.ogg");
    w.add("a.ogg");
    w.rescan({});  // the folder itself came: its files are all new anyway
    EXPECT_EQ(w.order(), (std::vector<std::string>{"a.ogg", "b.ogg"}));
    EXPECT_TRUE(w.track("a.ogg")->IsPlaying());

    std::filesystem::remove_all(w.disk.root() / "data/Quorv Part");
    w.rescan({});
    EXPECT_TRUE(w.tracks.empty());
    EXPECT_TRUE(WatchedFolder::logged("destroy .\\data\\Quorv Part\\a.ogg"));
    EXPECT_TRUE(WatchedFolder::logged("destroy .\\data\\Quorv Part\\b.ogg"));
    w.tracks.advance();  // nothing to advance
}

}  // namespace
}  // namespace qa::app
