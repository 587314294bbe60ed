// Text files are read as UTF-8 when they start with its byte-order mark or are UTF-8 with some
// character beyond ASCII, and then shown through the same 256 glyph codes; every other file keeps its
// bytes. On screen a UTF-8 text looks exactly like the same text saved as Windows-1252.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Windows1252.h"
#include "support/RunnerProcess.h"
#include "support/TempDisk.h"

namespace qa::platform {
namespace {

TEST(Windows1252, TextFilesReadAsUtf8OnlyByTheRule) {
    const struct {
        std::string bytes;
        bool cut;
        bool utf8;
        std::string shown;  // the glyph codes, when read as UTF-8
    } cases[] = {
        {"caf\xC3\xA9 cr\xC3\xA8me", false, true, "caf\xE9 cr\xE8me"},
        {"\xEF\xBB\xBFplain", false, true, "plain"},                        // the mark alone decides
        {"\xEF\xBB\xBFka\xFFput", false, true, "ka?put"},                   // a broken byte after it
        {"\xE2\x82\xAC 5, \xC5\x93uvre", false, true, "\x80 5, \x9Cuvre"},  // beyond Latin-1
        {"\xE2\x86\x92 \xF0\x9F\x98\x80!", false, true, "? ?!"},            // none in the code page
        {"\xC2\x81", false, true, "?"},                                     // a control the page lacks
        {"just ASCII\r\n", false, false, ""},
        {"caf\xE9 cr\xE8me", false, false, ""},             // Windows-1252 as it always was
        {"\xC0\xAF", false, false, ""},                     // overlong
        {"\xED\xA0\x80", false, false, ""},                 // a surrogate
        {"\xF4\x90\x80\x80", false, false, ""},             // beyond U+10FFFF
        {"caf\xC3\xA9 na\xEFve", false, false, ""},         // UTF-8 and Windows-1252 mixed
        {"caf\xC3", false, false, ""},                      // a sequence cut off...
        {"caf\xC3\xA9 \xE2\x82", true, true, "caf\xE9 ?"},  // ...where the read stopped
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Windows1252::isUtf8Text(c.bytes, c.cut), c.utf8) << c.bytes;
        if (c.utf8) {
            EXPECT_EQ(Windows1252::fromUtf8(c.bytes), c.shown) << c.bytes;
        }
    }
    // Every character of the code page comes back as its own byte.
    for (int b = 1; b < 256; ++b) {
        const std::uint32_t cp = Windows1252::codePoint(static_cast<unsigned char>(b));
        if (cp == 0) continue;
        std::string utf8;
        Windows1252::appendUtf8(utf8, cp);
        EXPECT_EQ(Windows1252::fromUtf8(utf8), std::string(1, static_cast<char>(b))) << b;
    }
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Windows1252, AUtf8TextShowsAsTheSameTextInWindows1252) {
    test::TempDisk disk;
    std::filesystem::copy_file(std::string(QA_TEST_SCENES) + "/check/text-no-line-end/data/font16.png",
                               disk.root() / "data/font16.png");
    disk.writeScene(R"(<scene>
        <item name="t" font="data\font16.png" image="data\t.txt" x="20" y="20" cx="0" cy="0" w="600" h="300"/>
        <item name="s" image="data\s.txt" x="20" y="400" cx="0" cy="0"/>
    </scene>)");
    auto shoot = [&](const std::string& text, const std::string& name) {
        disk.write("data/t.txt", text);
        disk.write("data/s.txt", text);
        const std::string shot = (disk.root() / name).string();
        const test::RunResult r =
            test::runRunner({disk.root().string(), "--frames", "2", "--sound", "off", "--shot", "2:" + shot});
        EXPECT_EQ(r.exitCode, 0) << r.output;
        return readFile(shot);
    };
    const std::string cp1252 = shoot("Caf\xE9 cr\xE8me \x80 5\r\n\xAB na\xEFve \xBB\n", "cp1252.png");
    const std::string utf8 =
        shoot("Caf\xC3\xA9 cr\xC3\xA8me \xE2\x82\xAC 5\r\n\xC2\xAB na\xC3\xAFve \xC2\xBB\n", "utf8.png");
    const std::string marked = shoot(
        "\xEF\xBB\xBF"
        "Caf\xC3\xA9 cr\xC3\xA8me \xE2\x82\xAC 5\r\n\xC2\xAB na\xC3\xAFve \xC2\xBB\n",
        "bom.png");
    const std::string misread =
        shoot("Caf\xC3\x83\xC2\xA9 cr\xC3\x83\xC2\xA8me \xE2\x82\xAC 5\r\n\xC2\xAB na\xC3\xAFve \xC2\xBB\n",
              "misread.png");
    ASSERT_FALSE(cp1252.empty());
    EXPECT_EQ(utf8, cp1252);
    EXPECT_EQ(marked, cp1252);
    EXPECT_NE(misread, cp1252);  // the shots do tell texts apart
}

}  // namespace
}  // namespace qa::platform
