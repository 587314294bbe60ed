// Packing a disk folder: what the scene uses goes in under its name in the folder, what it does not
// use stays out and is listed, names that leave the folder stop the pack, and the archive plays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/file/DiskSource.h"
#include "platform/file/Files.h"
#include "platform/file/archive/ZipSource.h"
#include "runner/DiskPacker.h"
#include "runner/UsedFiles.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

namespace qa::runner {
namespace {

using test::contains;

namespace fs = std::filesystem;

std::vector<std::string> names(const DiskPacker::Plan& plan) {
    std::vector<std::string> out;
    for (const auto& e : plan.entries) out.push_back(e.name);
    return out;
}

TEST(UsedFiles, SoundEffectsAreFoundInTimerScriptsToo) {
    EXPECT_EQ(UsedFiles::effectsIn("Hide a;PlaySfx data\\a.wav;PlaySfx data\\a.wav"),
              (std::vector<std::string>{"data\\a.wav", "data\\a.wav"}));
    EXPECT_EQ(
        UsedFiles::effectsIn("SetTimer t 1 2 PlaySfx b.wav|Hide x|PlaySfx c.wav;SetTimerEnd t PlaySfx d.wav"),
        (std::vector<std::string>{"b.wav", "c.wav", "d.wav"}));
    EXPECT_TRUE(UsedFiles::effectsIn("PlayTrack x.wav;Hide PlaySfx").empty());
    // A statement of the word alone takes the whole statement as its argument, as the engine does.
    EXPECT_EQ(UsedFiles::effectsIn("PlaySfx"), (std::vector<std::string>{"PlaySfx"}));
}

TEST(DiskPacker, TheSceneItsFilesCursorAndMusicGoInTheRestIsListed) {
    test::TempDisk disk;
    disk.writeScene(
        "<s><item image=\"data\\Pics\\A.PNG\" onSubmit=\"PlaySfx data\\sfx\\hit.wav\">"
        "<item font=\"data/font.png\" image=\"data\\\\text\\\\t.txt\""
        " onLoad=\"SetTimer t 1 1 PlaySfx .\\data\\sfx\\tick.wav\"/></item>"
        "<item image=\"data\\pics\\a.png\"/><item image=\"data\\notes.txt\"/></s>");
    for (const char* f : {"data/pics/a.png", "data/font.png", "data/text/t.txt", "data/sfx/hit.wav",
                          "data/sfx/tick.wav", "data/cursor.png", "data/Quorv Part/b.mod",
                          "data/Quorv Part/A.ogg", "data/notes.txt", "data/Quorv Part/click.wav",
                          "data/Quorv Part/cover.png", "data/unused.png", "data/sfx/old.wav", "README"})
        disk.write(f, "x");
    fs::create_directories(disk.root() / "data/Quorv Part/sub");

    DiskPacker::Plan plan;
    std::string reason;
    ASSERT_TRUE(DiskPacker(disk.root()).plan(plan, reason, disk.root() / "out.qdisk")) << reason;
    // Each file once, under its stored name, in the order the scene names it; the music in listing order.
    EXPECT_EQ(names(plan), (std::vector<std::string>{"data/QuorvArt.XQD", "data/pics/a.png",
                                                     "data/sfx/hit.wav", "data/font.png", "data/text/t.txt",
                                                     "data/sfx/tick.wav", "data/notes.txt", "data/cursor.png",
                                                     "data/Quorv Part/A.ogg", "data/Quorv Part/b.mod"}));
    // Files of the music folder that the scan does not play are not music.
    EXPECT_EQ(plan.leftOut,
              (std::vector<std::string>{"README", "data/Quorv Part/click.wav", "data/Quorv Part/cover.png",
                                        "data/sfx/old.wav", "data/unused.png"}));
    EXPECT_TRUE(plan.missing.empty());
    EXPECT_TRUE(plan.outside.empty());

    // Written, it opens as a disk and holds exactly those files.
    const std::string out = (disk.root() / "out.qdisk").string();
    std::FILE* report = std::tmpfile();
    ASSERT_EQ(DiskPacker(disk.root()).pack(out, report, report), 0);
    std::string error;
    std::shared_ptr<platform::FileSource> packed = platform::file::openDisk(out, error);
    ASSERT_NE(packed, nullptr) << error;
    EXPECT_TRUE(packed->exists("DATA\\pics\\A.png"));
    EXPECT_TRUE(packed->exists("data\\Quorv Part\\A.ogg"));
    EXPECT_FALSE(packed->exists("data\\unused.png"));
    EXPECT_FALSE(packed->exists("README"));
    // Nothing is left under a temporary name, and a second pack replaces the first.
    ASSERT_EQ(DiskPacker(disk.root()).pack(out, report, report), 0);
    std::fclose(report);
    int files = 0;
    for (const auto& e : fs::directory_iterator(disk.root())) files += e.is_regular_file();
    EXPECT_EQ(files, 2);  // README and out.qdisk
}

TEST(DiskPacker, MissingEffectsAreListedAndNamesOutsideTheFolderStopThePack) {
    test::TempDisk disk;
    disk.write("outside.png", "x");
    const fs::path inner = disk.root() / "disk";
    disk.write("disk/data/QuorvArt.XQD", "<s><item onSubmit=\"PlaySfx data\\gone.wav\"/></s>");
    DiskPacker::Plan plan;
    std::string reason;
    ASSERT_TRUE(DiskPacker(inner).plan(plan, reason));
    EXPECT_TRUE(contains(plan.missing, "data\\gone.wav (sound effect"));
    EXPECT_TRUE(contains(plan.missing, ".\\data\\cursor.png"));
    EXPECT_TRUE(plan.outside.empty());

    for (const char* name : {"..\\outside.png", "data\\..\\..\\outside.png"}) {
        disk.write("disk/data/QuorvArt.XQD", std::string("<s><item image=\"") + name + "\"/></s>");
        ASSERT_TRUE(DiskPacker(inner).plan(plan, reason));
        EXPECT_TRUE(contains(plan.outside, name)) << name;
        std::FILE* report = std::tmpfile();
        EXPECT_EQ(DiskPacker(inner).pack(disk.root() / "o.qdisk", report, report), 1) << name;
        std::fclose(report);
        EXPECT_FALSE(fs::exists(disk.root() / "o.qdisk"));
    }
    // A scene that cannot be loaded is not packed.
    disk.write("disk/data/QuorvArt.XQD", "<s>");
    EXPECT_FALSE(DiskPacker(inner).plan(plan, reason));
}

TEST(DiskPacker, LinksLeadingOutOfTheFolderStopThePackAndLinksInsideItPack) {
    test::TempDisk disk;
    disk.write("secret.txt", "not the disk's");
    disk.write("elsewhere/song.mod", "a track from elsewhere");
    const fs::path inner = disk.root() / "disk";
    disk.write("disk/data/QuorvArt.XQD",
               "<s><item image=\"data\\t.png\"/><item image=\"data\\alias.png\"/></s>");
    disk.write("disk/data/real.png", "x");
    fs::create_symlink(disk.root() / "secret.txt", inner / "data" / "t.png");
    fs::create_symlink(inner / "data" / "real.png", inner / "data" / "alias.png");
    fs::create_symlink(disk.root() / "elsewhere", inner / "data" / "Quorv Part");
    DiskPacker::Plan plan;
    std::string reason;
    ASSERT_TRUE(DiskPacker(inner).plan(plan, reason)) << reason;
    ASSERT_EQ(plan.outside.size(), 2u);
    EXPECT_TRUE(
        contains(plan.outside, "data/t.png (a symbolic link to " + (disk.root() / "secret.txt").string()));
    EXPECT_TRUE(contains(plan.outside, "data/Quorv Part/song.mod (a symbolic link to"));
    ASSERT_EQ(plan.entries.size(), 2u);  // the scene and the link that stays inside
    EXPECT_EQ(plan.entries[1].name, "data/alias.png");
    std::FILE* report = std::tmpfile();
    EXPECT_EQ(DiskPacker(inner).pack(disk.root() / "o.qdisk", report, report), 1);
    std::fclose(report);
    EXPECT_FALSE(fs::exists(disk.root() / "o.qdisk"));
}

TEST(DiskPacker, CompressedFormatsAreStoredAsTheyAre) {
    for (const char* name : {"a.png", "b.JPG", "c.jpeg", "d.gif", "e.mp3", "f.OGG"})
        EXPECT_TRUE(DiskPacker::storedAsIs(name)) << name;
    for (const char* name : {"QuorvArt.XQD", "t.txt", "m.mod", "s.wav", "noext", "dir.png/x"})
        EXPECT_FALSE(DiskPacker::storedAsIs(name)) << name;
}

}  // namespace
}  // namespace qa::runner
