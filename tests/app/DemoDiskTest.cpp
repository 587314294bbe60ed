// The demo disk: it passes the check, and a walk through its pages with the mouse, the keys, the
// wheel and the joystick looks like the committed screenshots and uses every command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "runner/PngWriter.h"
#include "support/RunnerProcess.h"

namespace qa::test {
namespace {

const std::string kDemo = std::string(QA_SOURCE_DIR) + "/demo";
const std::string kWalk = std::string(QA_TEST_SCENES) + "/demo-walk";
const int kShots[] = {30, 95, 160, 215, 262, 310};

TEST(DemoDisk, PassesTheCheck) {
    RunResult r = runRunner({kDemo, "--check"});
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("no problems found"), std::string::npos) << r.output;
}

// The demo disk that is installed: packed at build time, it plays as its folder does.
TEST(DemoDisk, ThePackedDemoPlaysLikeItsFolder) {
    const std::string out = tempPath("-packed");
    std::filesystem::create_directories(out);
    for (const std::string& disk : {kDemo, std::string(QA_DEMO_QDISK)}) {
        const std::string name = disk == kDemo ? "/folder" : "/packed";
        RunResult r = runRunner({disk, "--frames", "40", "--trace", out + name + ".jsonl", "--shot",
                                 "40:" + out + name + ".png"});
        ASSERT_EQ(r.exitCode, 0) << disk << "\n" << r.output;
    }
    EXPECT_EQ(readLines(out + "/folder.jsonl"), readLines(out + "/packed.jsonl"));
    std::vector<std::uint32_t> folder, packed;
    int w = 0, h = 0;
    ASSERT_TRUE(runner::PngWriter::read(out + "/folder.png", folder, w, h));
    ASSERT_TRUE(runner::PngWriter::read(out + "/packed.png", packed, w, h));
    EXPECT_EQ(folder, packed);
    std::filesystem::remove_all(out);
}

TEST(DemoDisk, WalkMatchesTheScreenshotsAndUsesEveryCommandAndEvent) {
    const std::string out = tempPath("-walk");
    std::filesystem::create_directories(out);
    std::vector<std::string> args = {kDemo,     "--frames",          "400", "--input", kWalk + "/input.txt",
                                     "--trace", out + "/trace.jsonl"};
    for (int f : kShots) {
        args.push_back("--shot");
        args.push_back(std::to_string(f) + ":" + out + "/frame-" + std::to_string(f) + ".png");
    }
    RunResult r = runRunner(args);
    ASSERT_EQ(r.exitCode, 0) << r.output;

    for (int f : kShots) {
        std::vector<std::uint32_t> got, want;
        int gw = 0, gh = 0, ww = 0, wh = 0;
        const std::string name = "frame-" + std::to_string(f) + ".png";
        ASSERT_TRUE(runner::PngWriter::read(out + "/" + name, got, gw, gh)) << name;
        ASSERT_TRUE(runner::PngWriter::read(kWalk + "/" + name, want, ww, wh)) << name;
        ASSERT_EQ(gw, ww);
        ASSERT_EQ(gh, wh);
        // A small tolerance: blending may differ by a few levels; a moved item differs by far more.
        double total = 0;
        std::size_t far = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            int worst = 0;
            for (int shift : {0, 8, 16}) {
                int d = std::abs(static_cast<int>((got[i] >> shift) & 0xFF) -
                                 static_cast<int>((want[i] >> shift) & 0xFF));
                total += d;
                worst = std::max(worst, d);
            }
            if (worst > 32) ++far;
        }
        EXPECT_LT(total / (got.size() * 3.0), 1.0) << name;
        EXPECT_LT(static_cast<double>(far) / got.size(), 0.002) << name;
    }

    std::vector<std::string> trace = readLines(out + "/trace.jsonl");
    for (const char* command :
         {"PlayTrack", "PlaySfx", "ExitApp", "Activate", "ActivateSingle", "Hide", "PauseTrack", "Change",
          "SetTimer", "ResetTimer", "SetTimerInit", "SetTimerEnd", "KillTimer"}) {
        EXPECT_FALSE(grep(trace, {std::string("\"command\":\"") + command + "\"", "\"result\":true"}).empty())
            << command;
    }
    for (int event = 1; event <= 15; ++event) {
        EXPECT_FALSE(grep(trace, {"\"event\":" + std::to_string(event) + ",", "\"handled\":true"}).empty())
            << "event " << event;
    }
    // The exit item fades to black and ends the program well before the 400 frames.
    EXPECT_TRUE(grep(trace, {"\"frame\":390,"}).empty());
    std::filesystem::remove_all(out);
}

}  // namespace
}  // namespace qa::test
