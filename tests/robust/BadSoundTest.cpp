// Damaged and empty sound files in the music folder and as sound effects, and a music folder that
// cannot be read: each bad file gets its "Loading" and "Error" lines and is left out, the good
// track still plays, and the disk runs to its end.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/AudioFixtures.h"
#include "support/ModWriter.h"
#include "support/RunnerProcess.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

namespace qa::test {
namespace {

namespace fs = std::filesystem;

// Text junk: no byte an MPEG decoder could take for the start of a frame.
std::string junk(std::size_t size) {
    std::string out;
    while (out.size() < size) out += "this is not sound at all; ";
    return out.substr(0, size);
}

struct Played {
    RunResult run;
    std::vector<std::string> trace;
};

Played play(const TempDisk& disk, int frames) {
    const std::string trace = tempPath(".jsonl");
    Played p;
    p.run = runRunner({disk.root().string(), "--frames", std::to_string(frames), "--trace", trace});
    p.trace = readLines(trace);
    fs::remove(trace);
    return p;
}

TEST(BadSound, DamagedAndEmptyTracksAreLeftOutAndTheGoodOnePlays) {
    TempDisk disk;
    const fs::path music = disk.root() / "data/Quorv Part";
    fs::create_directories(music);
    const fs::path work = disk.root() / "work";
    fs::create_directories(work);
    ASSERT_TRUE(ModWriter::toneSong(1, 8, 3).writeTo((music / "good.mod").string()));
    ASSERT_TRUE(writeWav((work / "tone.wav").string(), sineFrames(440, 44100, 22050, 2, 0.5f), 44100, 2));
    ASSERT_TRUE(encodeOgg((work / "tone.wav").string(), (work / "tone.ogg").string()));
    ASSERT_TRUE(encodeMp3((work / "tone.wav").string(), (work / "tone.mp3").string()));
    const std::string ogg = bytesOf(work / "tone.ogg");
    const std::string mp3 = bytesOf(work / "tone.mp3");
    const std::string mod = bytesOf(music / "good.mod");

    disk.write("data/Quorv Part/junk.mod", junk(5000));
    disk.write("data/Quorv Part/junk.mp3", junk(5000));
    disk.write("data/Quorv Part/junk.ogg", "OggS" + junk(5000));
    disk.write("data/Quorv Part/headless.ogg", ogg.substr(0, 100));  // cut inside its headers
    disk.write("data/Quorv Part/tagged.mp3", "ID3\x03" + junk(3000));
    disk.write("data/Quorv Part/tagless.mod", mod.substr(0, 600));  // cut inside its sample headers
    for (const char* empty : {"empty.mod", "empty.mp3", "empty.ogg"})
        disk.write(std::string("data/Quorv Part/") + empty, "");
    // Sound effects: damaged and empty, played from a load script.
    disk.write("data/sfx/junk.wav", "RIFF" + junk(2000));
    disk.write("data/sfx/empty.wav", "");
    disk.writeScene(
        "<s><item name='a' onLoad='PlaySfx data\\sfx\\junk.wav;PlaySfx data\\sfx\\empty.wav;"
        "PlaySfx data\\sfx\\none.wav'/></s>");

    const Played p = play(disk, 60);
    ASSERT_EQ(p.run.exitCode, 0) << p.run.output;
    const std::string& out = p.run.output;
    for (const char* bad : {"junk.mod", "junk.mp3", "junk.ogg", "headless.ogg", "tagged.mp3", "tagless.mod",
                            "empty.mod", "empty.mp3", "empty.ogg"}) {
        const std::string loading = std::string("Loading .\\data\\Quorv Part\\") + bad + "\n";
        const std::size_t at = out.find(loading);
        ASSERT_NE(at, std::string::npos) << bad << "\n" << out;
        EXPECT_EQ(out.compare(at + loading.size(), 27, "Error: Unknown file format\n"), 0) << bad << "\n"
                                                                                           << out;
        EXPECT_TRUE(grep(p.trace, {"\"type\":\"track\"", bad}).empty()) << bad;
    }
    // Only the good track plays; every damaged effect fails with its error line, none crashes.
    const std::vector<std::string> tracks = grep(p.trace, {"\"type\":\"track\""});
    ASSERT_FALSE(tracks.empty());
    for (const std::string& t : tracks) EXPECT_TRUE(contains(t, "good.mod")) << t;
    EXPECT_TRUE(contains(out,
                         "Initializing D3D device\nError: Unknown file format\nError: Unknown file format\n"
                         "Error: File not found\n"))
        << out;
}

TEST(BadSound, MusicFolderThatCannotBeReadGivesNoTracks) {
    // The folder is a file, a link that points at itself, or (for a user the permissions bind)
    // a folder nobody may read.
    enum class Kind { File, LinkLoop, NoPermission };
    for (Kind kind : {Kind::File, Kind::LinkLoop, Kind::NoPermission}) {
        if (kind == Kind::NoPermission && ::geteuid() == 0) continue;  // the superuser reads anything
        TempDisk disk;
        disk.writeScene("<s><item name='a' onLoad='SetTimer t 0.05 1000 Hide b'/></s>");
        const fs::path music = disk.root() / "data/Quorv Part";
        switch (kind) {
            case Kind::File:
                disk.write("data/Quorv Part", "not a folder");
                break;
            case Kind::LinkLoop:
                fs::create_symlink(music, music);
                break;
            case Kind::NoPermission:
                fs::create_directories(music);
                ASSERT_TRUE(ModWriter::toneSong(1, 8, 3).writeTo((music / "a.mod").string()));
                ::chmod(music.c_str(), 0);
                break;
        }
        const Played p = play(disk, 30);
        if (kind == Kind::NoPermission) ::chmod(music.c_str(), 0755);
        EXPECT_EQ(p.run.exitCode, 0) << p.run.output;
        EXPECT_FALSE(contains(p.run.output, "Loading")) << p.run.output;
        EXPECT_TRUE(grep(p.trace, {"\"type\":\"track\""}).empty());
        // The scene still runs its frames to the end: the timer's end script runs at shutdown.
        EXPECT_FALSE(grep(p.trace, {"\"frame\":31,", "\"phase\":\"end\""}).empty());
    }
}

}  // namespace
}  // namespace qa::test
