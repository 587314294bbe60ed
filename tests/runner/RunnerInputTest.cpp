// The runner's scripted input reaches the scene through the program's own input step, joystick
// step and cursor conversion; presses within one frame each meet the scene the one before left.
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
                            "3 button left down\n4 button left up\n"
                            "5 dblclick left\n6 button left up\n"
                            "7 button right down\n8 button right up\n"
                            "9 wheel 120\n10 wheel 120\n"
                            "11 joy 65535 32767 0\n"
                            "12 mouse 301 50\n";
    const std::string trace = tempPath(".jsonl");
    RunResult r = runRunner(
        {disk.root().string(), "--frames", "12", "--frame-ms", "200", "--input", input, "--trace", trace});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    const std::vector<std::string> e = events(readLines(trace));
    std::remove(input.c_str());
    std::remove(trace.c_str());

    const std::vector<std::string> expected = {
        "1:5:a",               // hovered
        "2:6:a",   "2:5:b",    // off the old before on the new; (250, 99) is still inside b
        "3:1:b",   "4:2:b",    // buttons to the hovered item
        "6:2:b",               // the double click itself gives nothing, its release does
        "7:3:b",   "8:4:b",    //
        "10:13:a", "10:13:b",  // the second notch; a was drawn last, so it is asked first
        "11:15:a", "11:15:b",  // the stick held right: polled once in each 200 ms frame
        "12:15:a", "12:15:b",  //
        "12:6:b",              // x 301 is past b's right edge
    };
    EXPECT_EQ(e, expected);
}

// The demo's page that a run of the input opens, as "frame:page".
std::string pageOpened(const std::string& inputText) {
    const std::string input = tempPath(".txt");
    std::ofstream(input) << inputText;
    const std::string trace = tempPath(".jsonl");
    RunResult r = runRunner({std::string(QA_SOURCE_DIR) + "/demo", "--frames", "60", "--sound", "off",
                             "--input", input, "--trace", trace});
    std::string page = "exit " + std::to_string(r.exitCode);
    if (r.exitCode == 0) {
        page = "none";
        for (const std::string& line : grep(readLines(trace), {"\"command\":\"ActivateSingle\""})) {
            auto field = [&](const std::string& name) {
                const std::size_t at = line.find("\"" + name + "\":");
                const std::size_t from = line.find_first_not_of("\"", at + name.size() + 3);
                return line.substr(from, line.find_first_of("\",}", from) - from);
            };
            page = field("frame") + ":" + field("arg");
        }
    }
    std::remove(input.c_str());
    std::remove(trace.c_str());
    return page;
}

TEST(RunnerInput, InputWithinOneFrameActsAsTheViewerMeantIt) {
    // The pointer rests on the menu's second entry, then jumps to the third and presses in the same
    // frame, as a tap on a touch screen does: the third entry's page opens, in that frame.
    EXPECT_EQ(pageOpened("40 mouse 190 303\n50 mouse 190 381\n50 button left down\n51 button left up\n"),
              "50:anim");
    // Down, Down, Enter typed within one frame: each key moves on from where the one before left the
    // menu, one a frame.
    EXPECT_EQ(pageOpened("35 key down Down\n35 key up Down\n35 key down Down\n35 key up Down\n"
                         "35 key down Enter\n35 key up Enter\n"),
              "37:anim");
}

}  // namespace
}  // namespace qa::test
