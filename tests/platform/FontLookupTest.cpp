// The system's font configuration finds the face the scenes ask for, with its styles; with no font
// at all the runner says so once on standard error and plays on with the text left out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/FontLookup.h"
#include "support/PictureMaker.h"
#include "support/RunnerProcess.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

namespace qa::platform {
namespace {

using test::bytesOf;

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(FontLookup, FindsTheFaceAndItsStyles) {
    const std::string regular = FontLookup::find("Arial", 500, false);
    ASSERT_FALSE(regular.empty()) << "a font for \"Arial\" (fonts-liberation) is needed";
    EXPECT_TRUE(std::filesystem::is_regular_file(regular)) << regular;
    // Weight 500 is the regular face; bold and italic are faces of their own.
    EXPECT_EQ(FontLookup::find("Arial", 400, false), regular);
    const std::string bold = FontLookup::find("Arial", 700, false);
    const std::string italic = FontLookup::find("Arial", 500, true);
    EXPECT_NE(bold, regular);
    EXPECT_NE(italic, regular);
    EXPECT_NE(FontLookup::find("Arial", 700, true), bold);
    // A face the system does not have still gives the nearest font rather than none.
    EXPECT_FALSE(FontLookup::find("No Such Face At All", 500, false).empty());
}

// Sets an environment variable for the runners a test starts, and restores it afterwards.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (had_)
            ::setenv(name_, old_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

struct Played {
    test::RunResult run;
    std::vector<std::string> trace;
    std::string shot;
};

Played play(const test::TempDisk& disk) {
    const std::string trace = test::tempPath(".jsonl"), shot = test::tempPath(".png");
    Played p;
    p.run = test::runRunner(
        {disk.root().string(), "--frames", "3", "--sound", "off", "--trace", trace, "--shot", "3:" + shot});
    p.trace = test::readLines(trace);
    p.shot = bytesOf(shot);
    std::filesystem::remove(trace);
    std::filesystem::remove(shot);
    return p;
}

TEST(FontLookup, WithNoFontTheRunnerSaysSoOnceAndPlaysOnWithoutTheText) {
    test::TempDisk disk;
    test::PictureMaker(64, 64, 0xFF3060C0u).savePng((disk.root() / "data" / "a.png").string());
    disk.write("data/notes.txt", "Some words in the system font,\r\nand a second line.");
    disk.write("data/more.txt", "More words.");
    const std::string picture = R"(<item name="a" image="data\a.png" x="100" y="100"/>)";
    disk.writeScene("<scene>" + picture + R"(
        <item name="notes" image="data\notes.txt" x="500" y="400"/>
        <item name="more" image="data\more.txt" x="500" y="600"/></scene>)");
    const Played withFonts = play(disk);
    ASSERT_EQ(withFonts.run.exitCode, 0) << withFonts.run.output;
    ASSERT_EQ(withFonts.run.output.find("no font"), std::string::npos) << withFonts.run.output;

    const std::string config = test::tempPath(".conf");
    std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    Played noFonts;
    {
        const ScopedEnv env("FONTCONFIG_FILE", config);
        noFonts = play(disk);
    }
    std::filesystem::remove(config);
    EXPECT_EQ(noFonts.run.exitCode, 0) << noFonts.run.output;
    EXPECT_EQ(count(noFonts.run.output, FontLookup::missingMessage("Arial", 500, false)), 1u)
        << noFonts.run.output;
    // The scene runs the same; only the text is missing from the picture, which then shows what the
    // scene without its text items shows.
    EXPECT_EQ(noFonts.trace, withFonts.trace);
    EXPECT_NE(noFonts.shot, withFonts.shot);
    disk.writeScene("<scene>" + picture + "</scene>");
    EXPECT_EQ(noFonts.shot, play(disk).shot);
}

}  // namespace
}  // namespace qa::platform
