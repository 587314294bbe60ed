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

}  // namespace
}  // namespace qa::app
