// Disk archives that are damaged or hostile: the runner refuses them with a message that says why and
// a non-zero exit, before anything plays; an archive's scene never reaches a file outside it; a
// damaged scene document inside a whole archive is the scene message, not a half-read scene.
#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/RunnerProcess.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

namespace qa::test {
namespace {

namespace fs = std::filesystem;

struct Refusal {
    int exitCode = 0;
    std::string out, err;
};

// Runs the runner on the disk with standard output and standard error kept apart.
Refusal run(const fs::path& disk, const std::string& more = "") {
    const fs::path out = disk.string() + ".out", err = disk.string() + ".err";
    const std::string command = std::string("'") + QA_RUNNER_EXE + "' '" + disk.string() + "' --frames 3" +
                                more + " > '" + out.string() + "' 2> '" + err.string() + "'";
    const int status = std::system(command.c_str());
    Refusal r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, bytesOf(out), bytesOf(err)};
    fs::remove(out);
    fs::remove(err);
    return r;
}

const std::string kScene = "<s><item image=\"data\\p.png\"/></s>";

TEST(BadArchive, DamagedOrHostileArchivesAreRefusedWithTheReason) {
    TempDisk disk;
    const fs::path good = disk.root() / "good.qdisk";
    writeZip(good, {{"data/QuorvArt.XQD", kScene + std::string(4000, ' ')}, {"data/p.png", "x"}});
    const std::string whole = bytesOf(good);
    struct Case {
        const char* file;
        std::string bytes;
        const char* reason;
    };
    std::vector<Case> cases = {{"cut.qdisk", whole.substr(0, whole.size() / 2), "damaged"},
                               {"cut-end.qdisk", whole.substr(0, whole.size() - 3), "damaged"},
                               {"empty.qdisk", "", "damaged"},
                               {"text.qdisk", "<s/> is not an archive", "not a zip archive"}};
    for (const Case& c : cases) std::ofstream(disk.root() / c.file, std::ios::binary) << c.bytes;
    writeZip(disk.root() / "escape.qdisk", {{"data/QuorvArt.XQD", kScene}, {"data/../../evil.png", "x"}});
    cases.push_back({"escape.qdisk", "", "leaves the archive"});
    writeZip(disk.root() / "absolute.qdisk", {{"data/QuorvArt.XQD", kScene}, {"/tmp/evil.png", "x"}});
    cases.push_back({"absolute.qdisk", "", "absolute path"});
    writeZip(disk.root() / "folder.qdisk", {{"game/data/QuorvArt.XQD", kScene}});
    cases.push_back({"folder.qdisk", "", "no data folder at its top"});
    // 100 MB of one byte packs into some 100 KB: a bomb, refused before anything is unpacked.
    const std::string bomb(100u << 20, 'z');
    writeZip(disk.root() / "bomb.qdisk", {{"data/QuorvArt.XQD", kScene}, {"data/p.png", bomb}});
    cases.push_back({"bomb.qdisk", "", "zip bomb"});
    // Entries each under the bomb size, together far over it: a bomb all the same.
    const std::string part(40u << 20, 'z');
    writeZip(disk.root() / "bombs.qdisk", {{"data/QuorvArt.XQD", kScene},
                                           {"data/Quorv Part/a.mod", part},
                                           {"data/Quorv Part/b.mod", part},
                                           {"data/p.png", part}});
    cases.push_back({"bombs.qdisk", "", "the entries unpack"});

    for (const Case& c : cases) {
        const Refusal r = run(disk.root() / c.file);
        EXPECT_EQ(r.exitCode, 2) << c.file;
        EXPECT_NE(r.err.find(std::string("quorvart-run: the disk ") + (disk.root() / c.file).string() +
                             " cannot be opened: "),
                  std::string::npos)
            << c.file << ": " << r.err;
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << c.file << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << c.file << ": " << r.out;
    }
    // The good one plays.
    EXPECT_EQ(run(good).exitCode, 0);
}

TEST(BadArchive, TheScenesPathsNeverLeaveTheArchive) {
    TempDisk disk;
    // Files beside the archive and at an absolute path, as a hostile scene would name them.
    disk.write("secret.txt", "secret");
    disk.write("data/secret.png", "x");
    const std::string absolute = (disk.root() / "secret.txt").string();
    writeZip(disk.root() / "d.qdisk",
             {{"data/QuorvArt.XQD",
               "<s><item image=\"..\\secret.txt\"/><item image=\"data\\..\\..\\data\\secret.png\"/>"
               "<item image=\"" +
                   absolute + "\"/><item image=\"data\\in.txt\"/></s>"},
              {"data/in.txt", "inside"}});
    // The same disk without the hostile items: drawn alike, so none of those files was read.
    writeZip(disk.root() / "clean.qdisk",
             {{"data/QuorvArt.XQD", "<s><item image=\"data\\in.txt\"/></s>"}, {"data/in.txt", "inside"}});
    const fs::path hostileShot = disk.root() / "hostile.png", cleanShot = disk.root() / "clean.png";
    const Refusal r = run(disk.root() / "d.qdisk", " --shot 3:'" + hostileShot.string() + "'");
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_EQ(run(disk.root() / "clean.qdisk", " --shot 3:'" + cleanShot.string() + "'").exitCode, 0);
    EXPECT_FALSE(bytesOf(hostileShot).empty());
    EXPECT_EQ(bytesOf(hostileShot), bytesOf(cleanShot));
    // A packed disk is checked from its folder, before it is packed.
    EXPECT_EQ(run(disk.root() / "d.qdisk", " --check").exitCode, 2);
}

TEST(BadArchive, ADamagedSceneDocumentInAWholeArchiveIsTheSceneMessage) {
    TempDisk disk;
    std::string scene = "<s>";
    for (int i = 0; i < 400; ++i)
        scene += "<item name=\"i" + std::to_string(i) + "\" x=\"" + std::to_string(i) + "\"/>";
    scene += "</s>";
    const fs::path archive = disk.root() / "d.qdisk";
    writeZip(archive, {{"data/QuorvArt.XQD", scene}});
    std::string bytes = bytesOf(archive);
    // Flip bytes in the compressed data, after the local header (30 bytes) and the name (17).
    for (std::size_t i = 60; i < 90; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    std::ofstream(archive, std::ios::binary) << bytes;
    const Refusal r = run(archive);
    EXPECT_EQ(r.exitCode, 1) << r.err;
    EXPECT_NE(r.err.find("message box \"Mag data corrupted\" (QuorvArts error)"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace qa::test
