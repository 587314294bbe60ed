// Every example disk of the author's guide passes the check and does what the guide says.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "support/RunnerProcess.h"
#include "support/TempDisk.h"

namespace qa::test {
namespace {

const std::string kGuide = std::string(QA_TEST_SCENES) + "/guide/";

// Plays an example with the input lines; returns the trace.
std::vector<std::string> play(const std::string& example, const std::string& input, int frames) {
    std::string inputPath = tempPath(".txt");
    std::ofstream(inputPath) << input;
    std::string trace = tempPath(".jsonl");
    RunResult r = runRunner(
        {kGuide + example, "--frames", std::to_string(frames), "--input", inputPath, "--trace", trace});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    std::vector<std::string> lines = readLines(trace);
    std::remove(inputPath.c_str());
    std::remove(trace.c_str());
    return lines;
}

TEST(GuideExamples, EveryExamplePassesTheCheck) {
    for (const char* ex : {"first", "menu", "change", "timer", "music", "scroll", "placement"}) {
        RunResult r = runRunner({kGuide + ex, "--check"});
        EXPECT_EQ(r.exitCode, 0) << ex << ": " << r.output;
        EXPECT_NE(r.output.find("no problems found"), std::string::npos) << ex;
    }
}

TEST(GuideExamples, FirstLeavesOnEnter) {
    auto t = play("first", "2 key down Enter\n", 50);
    EXPECT_EQ(grep(t, {"\"command\":\"ExitApp\"", "\"result\":true"}).size(), 1u);
    EXPECT_TRUE(grep(t, {"\"frame\":10,"}).empty());  // the program ended at frame 2
}

TEST(GuideExamples, MenuOpensAndSwitchesPages) {
    auto t = play("menu", "2 key down Enter\n3 key down Right\n4 key down Left\n5 key down Esc\n", 6);
    EXPECT_EQ(grep(t, {"\"command\":\"ActivateSingle\"", "\"arg\":\"one\"", "\"result\":true"}).size(), 2u);
    EXPECT_EQ(grep(t, {"\"command\":\"ActivateSingle\"", "\"arg\":\"two\"", "\"result\":true"}).size(), 1u);
    EXPECT_EQ(grep(t, {"\"frame\":5,", "\"arg\":\"menu\"", "\"result\":true"}).size(), 1u);
}

TEST(GuideExamples, ChangeMovesAndFades) {
    auto t = play("change", "2 key down Right\n3 key down PageDown\n4 key down Enter\n", 5);
    EXPECT_EQ(grep(t, {"\"arg\":\"box x +10 0 900\"", "\"result\":true"}).size(), 1u);
    EXPECT_EQ(grep(t, {"\"arg\":\"box ca -32 0 255\"", "\"result\":true"}).size(), 1u);
    EXPECT_EQ(grep(t, {"\"command\":\"Change\"", "\"frame\":4,", "\"result\":true"}).size(), 3u);
}

TEST(GuideExamples, TimerSlidesThenFades) {
    auto t = play("timer", "", 120);
    EXPECT_EQ(grep(t, {"\"timer\":\"slide\"", "\"phase\":\"tick\""}).size(), 31u);
    // Once after the last tick, once more when the program ends.
    EXPECT_EQ(grep(t, {"\"timer\":\"slide\"", "\"phase\":\"end\""}).size(), 2u);
    EXPECT_EQ(grep(t, {"\"timer\":\"fade\"", "\"phase\":\"tick\""}).size(), 26u);
}

TEST(GuideExamples, MusicJumpsPausesAndPlaysEffects) {
    auto t = play("music", "2 key down Enter\n3 key down Esc\n4 key down Right\n", 6);
    EXPECT_EQ(grep(t, {"\"command\":\"PlayTrack\"", "\"result\":true"}).size(), 1u);
    EXPECT_EQ(grep(t, {"\"type\":\"track\"", "b.mod"}).size(), 1u);
    EXPECT_EQ(grep(t, {"\"command\":\"PauseTrack\"", "\"result\":true"}).size(), 1u);
    EXPECT_EQ(grep(t, {"\"command\":\"PlaySfx\"", "\"frame\":4,", "\"result\":true"}).size(), 1u);
}

TEST(GuideExamples, TrackNamesAreMatchedByteForByte) {
    namespace fs = std::filesystem;
    struct Case {
        const char* what;
        std::string fileName;  // in the music folder
        std::string scene;     // how the document writes it
        bool found;
    };
    const Case cases[] = {
        {"UTF-8 name, UTF-8 document", "b\xC3\xA9.mod",
         "<s><item onLoad=\"PlayTrack .\\data\\Quorv Part\\b\xC3\xA9.mod\"/></s>", true},
        {"UTF-8 name, windows-1252 document", "b\xC3\xA9.mod",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><s><item onLoad=\"PlayTrack .\\data\\Quorv "
         "Part\\b\xE9.mod\"/></s>",
         true},
        {"Windows-1252 name, UTF-8 document", "b\xE9.mod",
         "<s><item onLoad=\"PlayTrack .\\data\\Quorv Part\\b\xC3\xA9.mod\"/></s>", false},
        {"Windows-1252 name, the same bytes undeclared", "b\xE9.mod",
         "<s><item onLoad=\"PlayTrack .\\data\\Quorv Part\\b\xE9.mod\"/></s>", true},
    };
    for (const Case& c : cases) {
        TempDisk disk;
        fs::create_directories(disk.root() / "data/Quorv Part");
        fs::copy_file(kGuide + "music/data/Quorv Part/a.mod", disk.root() / "data/Quorv Part/a.mod");
        fs::copy_file(kGuide + "music/data/Quorv Part/b.mod", disk.root() / "data/Quorv Part" / c.fileName);
        disk.writeScene(c.scene);
        const std::string trace = tempPath(".jsonl");
        RunResult r = runRunner({disk.root().string(), "--frames", "3", "--trace", trace});
        std::vector<std::string> t = readLines(trace);
        std::remove(trace.c_str());
        // PlayTrack finds a track only by the bytes of its file name.
        EXPECT_EQ(
            grep(t, {"\"command\":\"PlayTrack\"", c.found ? "\"result\":true" : "\"result\":false"}).size(),
            1u)
            << c.what << "\n"
            << r.output;
    }
}

TEST(GuideExamples, ScrollMovesTheSourceOffset) {
    auto t = play("scroll", "2 key down Down\n3 key down Up\n4 key down Up\n", 5);
    EXPECT_EQ(grep(t, {"\"arg\":\"story oy +16 0 320\"", "\"result\":true"}).size(), 1u);
    EXPECT_EQ(grep(t, {"\"arg\":\"story oy -16 0 320\"", "\"result\":true"}).size(), 2u);
}

}  // namespace
}  // namespace qa::test
