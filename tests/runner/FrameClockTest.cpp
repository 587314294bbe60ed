// The runner's frame clock: frame lengths with decimals stay on their exact rate over any length,
// whole milliseconds give the same times as always, and the command line takes only sensible lengths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runner/Runner.h"
#include "runner/VirtualClock.h"

namespace qa::runner {
namespace {

bool parse(std::vector<std::string> args, RunnerOptions& options, std::string& error) {
    args.insert(args.begin(), "quorvart-run");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    return options.parse(static_cast<int>(argv.size()), argv.data(), error);
}

TEST(FrameClock, SixtyFramesASecondNeverDrifts) {
    RunnerOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--frame-ms", "16.667"}, o, error)) << error;
    EXPECT_EQ(o.rateNum, 1000000);
    EXPECT_EQ(o.rateDen, 16667);
    EXPECT_EQ(o.frameMs, 16);
    VirtualClock clock(o.rateNum, o.rateDen);
    // Ten hours of frames: each frame's end is the exact time rounded down, not a sum of rounded
    // frame lengths (which would be 16 or 17 ms and drift by minutes).
    const int tenHours = 10 * 3600 * 60;
    EXPECT_EQ(clock.at(tenHours, 44100), static_cast<std::uint64_t>(tenHours) * 44100 * 16667 / 1000000);
    EXPECT_EQ(clock.at(tenHours, 1000), static_cast<std::uint64_t>(tenHours) * 16667 / 1000);
    EXPECT_EQ(clock.at(3, 44100), 2205u);  // 3 x 735.0147 samples
    clock.setFrame(3);
    EXPECT_EQ(clock.now(), 50u);  // 50.001 ms
    // Sound frames per video frame stay within one of the exact 735.0147.
    for (int n = 1; n < 1000; ++n) {
        const std::uint64_t step = clock.at(n, 44100) - clock.at(n - 1, 44100);
        EXPECT_TRUE(step == 735 || step == 736) << n;
    }
}

TEST(FrameClock, WholeMillisecondsKeepTheirTimes) {
    for (const char* ms : {"16", "20", "200", "16.0"}) {
        RunnerOptions o;
        std::string error;
        ASSERT_TRUE(parse({"--frame-ms", ms}, o, error)) << ms << ": " << error;
        const int whole = std::stoi(ms);
        EXPECT_EQ(o.frameMs, whole);
        VirtualClock exact(o.rateNum, o.rateDen), old(static_cast<std::uint32_t>(whole));
        for (int n : {1, 7, 1000, 225000}) {
            exact.setFrame(n);
            old.setFrame(n);
            EXPECT_EQ(exact.now(), old.now()) << ms << " frame " << n;
            EXPECT_EQ(exact.at(n, 44100), static_cast<std::uint64_t>(n) * whole * 44100 / 1000) << ms;
        }
    }
    RunnerOptions defaults;
    EXPECT_EQ(defaults.rateNum * 16, defaults.rateDen * 1000);
}

TEST(FrameClock, RatesInFramesASecondAreExact) {
    const struct {
        const char* fps;
        int num, den;
    } cases[] = {{"60", 60, 1},
                 {"50", 50, 1},
                 {"25", 25, 1},
                 {"59.94", 60000, 1001},
                 {"29.97", 30000, 1001},
                 {"23.976", 24000, 1001},
                 {"119.88", 120000, 1001},
                 {"12.5", 25, 2},
                 {"60000/1001", 60000, 1001},
                 {"60.0", 60, 1},
                 {"0.5", 1, 2}};
    for (const auto& c : cases) {
        RunnerOptions o;
        std::string error;
        ASSERT_TRUE(parse({"--fps", c.fps}, o, error)) << c.fps << ": " << error;
        EXPECT_EQ(o.rateNum, c.num) << c.fps;
        EXPECT_EQ(o.rateDen, c.den) << c.fps;
    }
    // A video without a rate plays at 60 frames a second; without a video the clock stays at 16 ms.
    RunnerOptions video, plain, asked;
    std::string error;
    ASSERT_TRUE(parse({"--video", "a.mp4"}, video, error));
    EXPECT_EQ(video.rateNum, 60);
    EXPECT_EQ(video.rateDen, 1);
    ASSERT_TRUE(parse({"--frames", "5"}, plain, error));
    EXPECT_EQ(plain.rateNum * 16, plain.rateDen * 1000);
    ASSERT_TRUE(parse({"--video", "a.mp4", "--frame-ms", "16"}, asked, error));
    EXPECT_EQ(asked.rateNum * 16, asked.rateDen * 1000);
}

TEST(FrameClock, CommandLineRefusesWhatItCannotUse) {
    for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
             {"--frame-ms", "0.5"},         // shorter than a millisecond
             {"--frame-ms", "0"},           // no time at all
             {"--frame-ms", "-16"},         // negative
             {"--frame-ms", "16.6.7"},      // not a number
             {"--frame-ms", "1e3"},         // no exponents
             {"--frame-ms", "3600000.5"},   // longer than an hour
             {"--frame-ms", "16.6666667"},  // more decimals than the clock keeps
             {"--video", "out.avi"},
             {"--video", "out"},
             {"--video-quality", "best"},
             {"--video"},
             {"--fps", "0"},
             {"--fps", "2000"},  // frames shorter than a millisecond
             {"--fps", "59,94"},
             {"--fps", "60/0"},
             {"--fps", "60."},
             {"--fps", "60", "--frame-ms", "16"},
             {"--frame-ms", "16", "--fps", "60"},
             {"--format", "json"}}) {
        RunnerOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args[0] << " " << (args.size() > 1 ? args[1] : "");
        EXPECT_FALSE(error.empty());
    }
    RunnerOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--video", "a.webm", "--video-quality", "small", "--frame-ms", "1"}, o, error))
        << error;
    EXPECT_EQ(o.videoPath, "a.webm");
    EXPECT_EQ(o.videoQuality, runner::VideoQuality::Small);
    EXPECT_EQ(o.rateNum, 1000);
    EXPECT_EQ(o.rateDen, 1);
}

}  // namespace
}  // namespace qa::runner
