// The warnings a watching author gets about files the scene's items name and that are not there.
#include <gtest/gtest.h>

#include <filesystem>

#include "check/SceneChecker.h"
#include "support/TempDisk.h"

namespace qa::check {
namespace {

std::vector<std::string> lines(const FindingReport& report) {
    std::vector<std::string> out;
    for (const Finding& f : report.findings()) out.push_back(f.text());
    return out;
}

TEST(MissingItemFiles, PicturesFontSheetsAndTextsThatAreNotThereAreWarningsAtTheirPlace) {
    test::TempDisk disk;
    disk.write("data/pics/logo.png", "x");
    disk.write("data/font.png", "x");
    disk.write("data/text/a.txt", "x");
    std::filesystem::create_directories(disk.root() / "data/folder.png");
    disk.writeScene(
        "<scene>\n"
        "  <item name=\"ok\" image=\"data\\pics\\logo.png\" font=\"\" bogus=\"1\" show=\"yes\"/>\n"
        "  <item name=\"typo\" image=\"data\\pics\\lgo.png\"/>\n"
        "  <item font=\"data\\fnt.png\" image=\"data\\text\\a.txt\"/>\n"
        "  <item name=\"t\" font=\"data\\font.png\" image=\"data\\text\\b.txt\"/>\n"
        "  <item image=\"data\\text\\gone.txt\"/>\n"
        "  <item image=\"data\\PICS\\Logo.PNG\"/>\n"
        "  <item image=\"data\\folder.png\"><item name=\"deep\" image=\"data\\none.jpg\"/></item>\n"
        "</scene>\n");
    const FindingReport report = SceneChecker::missingItemFiles();
    // Only what is missing (the other letter case is found by the engine; unknown attributes and the
    // like are the full check's business), in document order, all warnings.
    EXPECT_EQ(
        lines(report),
        (std::vector<std::string>{
            "data/QuorvArt.XQD:3:28: warning: item \"typo\" image: picture \"data\\pics\\lgo.png\" does "
            "not exist (did you mean \"data\\pics\\logo.png\"?)",
            "data/QuorvArt.XQD:4:15: warning: item #2 font: font sheet \"data\\fnt.png\" does not exist "
            "(did you mean \"data\\font.png\"?)",
            "data/QuorvArt.XQD:5:46: warning: item \"t\" image: text file \"data\\text\\b.txt\" does "
            "not exist (did you mean \"data\\text\\a.txt\"?)",
            "data/QuorvArt.XQD:6:16: warning: item #4 image: text file \"data\\text\\gone.txt\" does not "
            "exist",
            "data/QuorvArt.XQD:8:16: warning: item #6 image: picture \"data\\folder.png\" is a folder, "
            "not a file",
            "data/QuorvArt.XQD:8:58: warning: item \"deep\" image: picture \"data\\none.jpg\" does not "
            "exist",
        }));
    EXPECT_EQ(report.errors(), 0);
}

TEST(MissingItemFiles, AGoodSceneOrOneThatDoesNotLoadGivesNothing) {
    test::TempDisk disk;
    EXPECT_TRUE(SceneChecker::missingItemFiles().findings().empty());  // no document
    disk.write("data/a.png", "x");
    disk.writeScene("<scene><item image=\"data\\a.png\"/><item/></scene>");
    EXPECT_TRUE(SceneChecker::missingItemFiles().findings().empty());
    disk.writeScene("<scene><item image=\"data\\b.png\"></scene>");  // broken: its loader says why
    EXPECT_TRUE(SceneChecker::missingItemFiles().findings().empty());
}

}  // namespace
}  // namespace qa::check
