// The timers scene through the headless runner: its trace shows when every timer script ran and what
// the commands in them did.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace qa::script {
namespace {

namespace fs = std::filesystem;

struct Trace {
    std::vector<std::string> lines;
    std::map<std::string, std::vector<std::string>> timers;  // timer -> "frame:phase", in order
    struct Command {
        int frame;
        std::string command, arg, item;
        bool result;
    };
    std::vector<Command> commands;
};

Trace runScene(const std::string& scene, int frames) {
    const fs::path trace = fs::temp_directory_path() / ("qa-timers-" + std::to_string(::getpid()) + ".jsonl");
    const std::string cmd = std::string("'") + QA_RUNNER_EXE + "' '" + QA_TEST_SCENES + "/" + scene +
                            "' --frames " + std::to_string(frames) + " --trace '" + trace.string() +
                            "' --sound off > /dev/null";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    Trace out;
    std::ifstream in(trace);
    const std::regex timer(R"re(^\{"frame":(\d+),"type":"timer","timer":"([^"]*)","phase":"(\w+)"\}$)re");
    const std::regex command(
        R"re(^\{"frame":(\d+),"type":"command","command":"(\w+)","arg":"((?:[^"\\]|\\.)*)","item":(null|"[^"]*"),"index":(?:null|\d+),"result":(true|false)\}$)re");
    for (std::string line; std::getline(in, line);) {
        out.lines.push_back(line);
        std::smatch m;
        if (std::regex_match(line, m, timer)) {
            out.timers[m[2]].push_back(m[1].str() + ":" + m[3].str());
        } else if (std::regex_match(line, m, command)) {
            out.commands.push_back({std::stoi(m[1]), m[2], m[3], m[4], m[5] == "true"});
        }
    }
    fs::remove(trace);
    return out;
}

std::vector<std::string> phases(int init, const std::vector<int>& ticks, bool end) {
    std::vector<std::string> out{std::to_string(init) + ":init"};
    for (int f : ticks) out.push_back(std::to_string(f) + ":tick");
    if (end) out.push_back(std::to_string(ticks.back()) + ":end");
    return out;
}

TEST(TimerScene, SlideFadeAndGrowTickOnTheirFrames) {
    const Trace t = runScene("timers", 120);
    ASSERT_FALSE(t.lines.empty());
    EXPECT_EQ(t.lines.front().rfind("{\"frame\":0,", 0), 0u);

    // Period 0.1 s at 16 ms frames: the first tick when -0.0001 + k x 0.016 exceeds 0.1, then the
    // remainder carries over. Frame 121 is shutdown.
    std::vector<std::string> slide = phases(1, {7, 13, 19, 26, 32, 38, 44, 51, 57, 63}, true);
    slide.push_back("121:end");
    EXPECT_EQ(t.timers.at("slide"), slide);
    // The slide's end script creates the fade, which starts in the same pass. At shutdown the slide's
    // end script restarts it (end, init), and then it ends on its own turn.
    std::vector<std::string> fade = phases(63, {66, 69, 72, 75, 78}, true);
    fade.insert(fade.end(), {"121:end", "121:init", "121:end"});
    EXPECT_EQ(t.timers.at("fade"), fade);
    std::vector<std::string> grow =
        phases(1, {7, 13, 19, 26, 32, 38, 44, 51, 57, 63, 69, 76, 82, 88, 94, 101, 107, 113, 119}, false);
    grow.push_back("121:end");
    EXPECT_EQ(t.timers.at("grow"), grow);
    EXPECT_EQ(t.timers.size(), 3u);

    std::map<std::string, int> counts;
    for (const auto& c : t.commands) {
        if (c.frame == 0) continue;                              // the onLoad scripts
        EXPECT_EQ(c.item, "null") << c.command << " " << c.arg;  // timer scripts run without an item
        EXPECT_TRUE(c.result) << c.command << " " << c.arg;
        ++counts[c.command + " " + c.arg];
    }
    EXPECT_EQ(counts["Change box ca =255"], 1);
    EXPECT_EQ(counts["Change box x +80"], 10);
    EXPECT_EQ(counts["Change box ca -60 0"], 5);
    EXPECT_EQ(counts["Change badge sx +1 1 3"], 19);  // a nested item, through the item name map
    EXPECT_EQ(counts["SetTimer fade 0.05 4 Change box ca -60 0"], 2);
    // The grow timer's end script runs at shutdown while the box still exists.
    EXPECT_EQ(counts["Hide box"], 1);
    ASSERT_FALSE(t.commands.empty());
    EXPECT_EQ(t.commands.back().frame, 121);

    bool exact = false;
    for (const auto& l : t.lines)
        exact = exact || l == R"re({"frame":1,"type":"timer","timer":"grow","phase":"init"})re";
    EXPECT_TRUE(exact);
}

}  // namespace
}  // namespace qa::script
