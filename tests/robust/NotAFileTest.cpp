// Named pipes and folders where a disk has files: tracks in the music folder, pictures, font sheets,
// text files and the scene document. None of them stops the program waiting on it; each is a file
// that does not load, and the program goes on exactly as when that file is missing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/ModWriter.h"
#include "support/RunnerProcess.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

namespace qa::test {
namespace {

namespace fs = std::filesystem;

// A run that waits on a pipe is cut off after this long and fails.
constexpr int kTimeLimitSeconds = 30;

TEST(NotAFileOnDisk, PipesInTheMusicFolderAreLeftOutAndTheGoodTrackPlays) {
    TempDisk disk;
    const fs::path music = disk.root() / "data/Quorv Part";
    fs::create_directories(music);
    ASSERT_TRUE(ModWriter::toneSong(1, 8, 3).writeTo((music / "good.mod").string()));
    for (const char* pipe : {"a pipe.mod", "b pipe.mp3", "c pipe.ogg"})
        ASSERT_EQ(::mkfifo((music / pipe).c_str(), 0644), 0) << pipe;
    fs::create_directory(music / "d folder.mod");  // a folder is not even offered to the loader
    disk.writeScene("<s><item name='a' onLoad='Hide a'/></s>");

    const std::string trace = tempPath(".jsonl");
    const RunResult run =
        runRunner({disk.root().string(), "--frames", "30", "--trace", trace}, kTimeLimitSeconds);
    const std::vector<std::string> lines = readLines(trace);
    fs::remove(trace);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    for (const char* pipe : {"a pipe.mod", "b pipe.mp3", "c pipe.ogg"}) {
        EXPECT_TRUE(contains(run.output, std::string("Loading .\\data\\Quorv Part\\") + pipe +
                                             "\nError: Error loading file\n"))
            << pipe << "\n"
            << run.output;
    }
    EXPECT_FALSE(contains(run.output, "d folder")) << run.output;
    const std::vector<std::string> tracks = grep(lines, {"\"type\":\"track\""});
    ASSERT_FALSE(tracks.empty());
    for (const std::string& t : tracks) EXPECT_TRUE(contains(t, "good.mod")) << t;
}

// What the pictures scene shows and prints at frame 2 when some of its files are `replaced` by
// pipes, folders, or nothing at all.
enum class Stand { Missing, Pipe, Folder };

struct Shown {
    RunResult run;
    std::string shot;
};

Shown showPictures(Stand stand, const std::vector<std::string>& replaced) {
    TempDisk disk;
    fs::copy(fs::path(QA_TEST_SCENES) / "pictures", disk.root(), fs::copy_options::recursive);
    for (const std::string& name : replaced) {
        const fs::path path = disk.root() / "data" / name;
        fs::remove(path);
        if (stand == Stand::Pipe) {
            EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0) << name;
        }
        if (stand == Stand::Folder) fs::create_directory(path);
    }
    const std::string shot = tempPath(".png");
    Shown shown;
    shown.run = runRunner({disk.root().string(), "--frames", "3", "--shot", "2:" + shot}, kTimeLimitSeconds);
    shown.shot = bytesOf(shot);
    fs::remove(shot);
    return shown;
}

TEST(NotAFileOnDisk, PicturesFontSheetsAndTextFilesThatAreNotFilesShowAsMissingOnes) {
    // A picture, the font sheet every text item uses, and a text file of its own.
    for (const std::vector<std::string>& replaced :
         {std::vector<std::string>{"star.png", "title.txt", "notes.txt"},
          std::vector<std::string>{"font.png"}}) {
        const Shown missing = showPictures(Stand::Missing, replaced);
        ASSERT_EQ(missing.run.exitCode, 0) << missing.run.output;
        ASSERT_FALSE(missing.shot.empty());
        for (Stand stand : {Stand::Pipe, Stand::Folder}) {
            const Shown shown = showPictures(stand, replaced);
            EXPECT_EQ(shown.run.exitCode, 0) << shown.run.output;
            EXPECT_EQ(shown.run.output, missing.run.output);
            EXPECT_TRUE(shown.shot == missing.shot)
                << replaced.front() << (stand == Stand::Pipe ? " pipe" : " folder");
        }
    }
}

TEST(NotAFileOnDisk, SceneDocumentThatIsAPipeIsAMissingScene) {
    TempDisk missing;
    fs::create_directories(missing.root() / "data");
    const RunResult expected = runRunner({missing.root().string(), "--frames", "3"}, kTimeLimitSeconds);
    TempDisk piped;
    fs::create_directories(piped.root() / "data");
    ASSERT_EQ(::mkfifo((piped.root() / "data/QuorvArt.XQD").c_str(), 0644), 0);
    const RunResult run = runRunner({piped.root().string(), "--frames", "3"}, kTimeLimitSeconds);
    EXPECT_EQ(run.exitCode, expected.exitCode) << run.output;
    EXPECT_EQ(run.output, expected.output);
}

}  // namespace
}  // namespace qa::test
