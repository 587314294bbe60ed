// The runner's scripted input reaches the scene through the program's own window procedure,
// joystick step and cursor conversion.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "support/PictureMaker.h"
#include "support/RunnerProcess.h"
#include "support/TempDisk.h"

namespace qa::test {
namespace {

// "frame:event:item" for every event record of the trace but the onLoad ones.
std::vector<std::string> events(const std::vector<std::string>& trace) {
    std::vector<std::string> out;
    for (const std::string& line : grep(trace, {"\"type\":\"event\""})) {
        auto field = [&](const std::string& name) {
            const std::size_t at = line.find("\"" + name + "\":");
            if (at == std::string::npos) return std::string();
            std::size_t from = at + name.size() + 3, to = from;
            if (line[from] == '"')
                to = line.find('"', ++from);
            else
                to = line.find_first_of(",}", from);
            return line.substr(from, to - from);
        };
        if (field("event") != "7") out.push_back(field("frame") + ":" + field("event") + ":" + field("item"));
    }
    return out;
}

TEST(RunnerInput, MouseButtonsWheelAndJoystickGoThroughTheProgramsOwnPaths) {
    TempDisk disk;
    PictureMaker(100, 100, 0xFFFF0000u).savePng((disk.root() / "data" / "a.png").string());
    disk.writeScene(R"(<scene>
        <item name="a" image="data/a.png" x="0" y="0" cx="0" cy="0"/>
        <item name="b" image="data/a.png" x="200" y="0" cx="0" cy="0"/>
    </scene>)");
    const std::string input = tempPath(".txt");
    std::ofstream(input) << "1 mouse 50 50\n"
                            "2 mouse 250 99\n"
                            "3 button left down\n3 button left up\n"
                            "4 dblclick left\n4 button left up\n"
                            "5 button right down\n5 button right up\n"
                            "6 wheel 120\n7 wheel 120\n"
                            "8 joy 65535 32767 0\n"
                            "9 mouse 301 50\n";
    const std::string trace = tempPath(".jsonl");
    RunResult r = runRunner(
        {disk.root().string(), "--frames", "9", "--frame-ms", "200", "--input", input, "--trace", trace});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::vector<std::string> e = events(readLines(trace));
    std::remove(input.c_str());
    std::remove(trace.c_str());

    const std::vector<std::string> expected = {
        "1:5:a",             // hovered
        "2:6:a",  "2:5:b",   // off the old before on the new; (250, 99) is still inside b
        "3:1:b",  "3:2:b",   // buttons to the hovered item only
        "4:2:b",             // the double click itself gives nothing, its release does
        "5:3:b",  "5:4:b",   //
        "7:13:a", "7:13:b",  // the second notch; a was drawn last, so it is asked first
        "8:15:a", "8:15:b",  // the stick held right: polled once in each 200 ms frame
        "9:15:a", "9:15:b",  //
        "9:6:b",             // x 301 is past b's right edge
    };
    EXPECT_EQ(e, expected);
}

}  // namespace
}  // namespace qa::test
