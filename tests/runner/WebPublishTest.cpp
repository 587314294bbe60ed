// quorvart-run --web: a disk published beside the web player's files, and the folders, disks and
// missing players it refuses, leaving nothing behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/RunnerProcess.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

namespace qa::test {
namespace {

namespace fs = std::filesystem;

const std::string kDemo = std::string(QA_SOURCE_DIR) + "/demo";

// QA_WEB_PLAYER set for the runs of one test.
class PlayerVariable {
  public:
    explicit PlayerVariable(const fs::path& folder) { ::setenv("QA_WEB_PLAYER", folder.c_str(), 1); }
    ~PlayerVariable() { ::unsetenv("QA_WEB_PLAYER"); }
};

// A stand-in web player: the three files a player is, and one more beside them.
fs::path makePlayer(const fs::path& folder) {
    fs::create_directories(folder);
    for (const char* name : {"index.html", "quorvart.js", "quorvart.wasm", "font.ttf"})
        std::ofstream(folder / name) << "the player's " << name;
    return folder;
}

TEST(WebPublish, TheDiskIsPackedBesideThePlayersFilesAndAPackedDiskGoesInAsItIs) {
    TempDisk work;
    const fs::path player = makePlayer(work.root() / "player");
    PlayerVariable variable(player);
    const fs::path out = work.root() / "site" / "demo";
    RunResult r = runRunner({kDemo, "--web", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("application/wasm"), std::string::npos) << r.output;
    for (const char* name : {"index.html", "quorvart.js", "quorvart.wasm", "font.ttf"})
        EXPECT_EQ(bytesOf(out / name), bytesOf(player / name)) << name;
    // The disk is what --pack makes of it, and it plays.
    const fs::path packed = work.root() / "demo.qdisk";
    ASSERT_EQ(runRunner({kDemo, "--pack", packed.string()}).exitCode, 0);
    EXPECT_TRUE(bytesOf(out / "disk.qdisk") == bytesOf(packed));
    EXPECT_EQ(runRunner({(out / "disk.qdisk").string(), "--frames", "5"}).exitCode, 0);

    // Published again over its own files; a packed disk is copied byte for byte.
    r = runRunner({packed.string(), "--web", out.string()});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(bytesOf(out / "disk.qdisk") == bytesOf(packed));
}

TEST(WebPublish, RefusalsWriteNothing) {
    TempDisk work;
    const fs::path player = makePlayer(work.root() / "player");
    work.write("broken/data/QuorvArt.XQD",
               "<s><item image=\"data\\missing.png\" onSubmit=\"Frobnicate\"/></s>");
    work.write("a-file", "kept");
    fs::create_directories(work.root() / "empty");
    struct Case {
        const char* what;
        fs::path player;  // QA_WEB_PLAYER
        std::string disk;
        fs::path out;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {"a disk with errors", player, (work.root() / "broken").string(), work.root() / "out", 1,
         "not published"},
        {"no web player", work.root() / "empty", kDemo, work.root() / "out", 2, "tools/web/build-player.sh"},
        {"the folder is a file", player, kDemo, work.root() / "a-file", 2, "is not a folder"},
        {"the folder lies in the disk's data", player, (work.root() / "broken").string(),
         work.root() / "broken" / "data" / "web", 2, "which this run reads"},
        {"the folder is the player's own", player, kDemo, player, 2, "is one of this run's inputs"},
    };
    for (const Case& c : cases) {
        PlayerVariable variable(c.player);
        const RunResult r = runRunner({c.disk, "--web", c.out.string()});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what << "\n" << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << c.what << "\n" << r.output;
        EXPECT_FALSE(fs::exists(c.out / "disk.qdisk")) << c.what;
    }
    EXPECT_FALSE(fs::exists(work.root() / "out"));
    EXPECT_EQ(bytesOf(work.root() / "a-file"), "kept");
    EXPECT_EQ(bytesOf(player / "index.html"), "the player's index.html");
}

}  // namespace
}  // namespace qa::test
