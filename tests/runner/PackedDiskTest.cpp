// A disk plays the same from its folder and from the .qdisk packed from it: the same trace, the same
// screenshots and the same sound, byte for byte; packing says what went in and what stayed out, and
// refuses a disk whose check finds problems.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "support/RunnerProcess.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

namespace qa::test {
namespace {

namespace fs = std::filesystem;

const std::string kDemo = std::string(QA_SOURCE_DIR) + "/demo";
const std::string kScenes = QA_TEST_SCENES;

// Plays the disk and returns every file the run wrote, with what it printed, by name.
std::map<std::string, std::string> play(const std::string& disk, const fs::path& out, int frames,
                                        const std::string& input, const std::vector<int>& shots) {
    fs::remove_all(out);
    fs::create_directories(out);
    std::vector<std::string> args = {disk,
                                     "--frames",
                                     std::to_string(frames),
                                     "--trace",
                                     (out / "t.jsonl").string(),
                                     "--audio",
                                     (out / "a.wav").string()};
    if (!input.empty()) args.insert(args.end(), {"--input", input});
    for (int s : shots)
        args.insert(args.end(),
                    {"--shot", std::to_string(s) + ":" + (out / (std::to_string(s) + ".png")).string()});
    RunResult r = runRunner(args, 120);
    std::map<std::string, std::string> files = {{"output", r.output}, {"exit", std::to_string(r.exitCode)}};
    for (const auto& e : fs::directory_iterator(out)) files[e.path().filename().string()] = bytesOf(e.path());
    return files;
}

void expectSameFromArchive(const std::string& folder, int frames, const std::string& input,
                           const std::vector<int>& shots) {
    TempDisk work;
    const fs::path packed = work.root() / "disk.qdisk";
    RunResult p = runRunner({folder, "--pack", packed.string()});
    ASSERT_EQ(p.exitCode, 0) << p.output;
    const auto fromFolder = play(folder, work.root() / "folder", frames, input, shots);
    const auto fromArchive = play(packed.string(), work.root() / "archive", frames, input, shots);
    ASSERT_EQ(fromFolder.size(), shots.size() + 4) << folder;
    EXPECT_EQ(fromFolder.at("exit"), "0") << fromFolder.at("output");
    for (const auto& [name, bytes] : fromFolder) {
        ASSERT_TRUE(fromArchive.count(name)) << folder << ": " << name;
        EXPECT_TRUE(fromArchive.at(name) == bytes) << folder << ": " << name << " differs";
    }
}

TEST(PackedDisk, TheDemoWalkPlaysTheSameFromItsArchive) {
    expectSameFromArchive(kDemo, 220, kScenes + "/demo-walk/input.txt", {1, 95, 160, 215});
}

TEST(PackedDisk, AShortRunAndAGuideExamplePlayTheSameFromTheirArchives) {
    expectSameFromArchive(kScenes + "/timers", 120, "", {1, 50, 100});
    TempDisk inputs;
    std::ofstream("music.txt")
        << "2 key down Enter\n3 button right down\n30 button right down\n40 key down Esc\n";
    expectSameFromArchive(kScenes + "/guide/music", 120, (inputs.root() / "music.txt").string(), {1, 60});
}

TEST(PackedDisk, PackingSaysWhatWentInAndWhatStayedOut) {
    TempDisk disk;
    disk.writeScene("<s><item image=\"data\\used.png\"/></s>");
    disk.write("data/used.png", "not a picture, still packed");
    disk.write("data/spare.png", "x");
    const std::string name = disk.root().filename().string() + ".qdisk";
    RunResult r = runRunner({disk.root().string(), "--pack", "../" + name});
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("packed 2 files of"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("data/used.png"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("left out, not used by the scene (1 file):\n  data/spare.png"), std::string::npos)
        << r.output;
    // The output path is taken from where the runner was started.
    EXPECT_TRUE(fs::exists(disk.root().parent_path() / name));
    fs::remove(disk.root().parent_path() / name);
}

TEST(PackedDisk, ADiskWithProblemsIsNotPacked) {
    TempDisk disk;
    disk.writeScene("<s><item image=\"data\\missing.png\" onSubmit=\"Frobnicate\"/></s>");
    const fs::path out = disk.root() / "out.qdisk";
    RunResult r = runRunner({disk.root().string(), "--pack", out.string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("\"data\\missing.png\" does not exist"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("not packed"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(out));
    // Nor is a disk that is packed already, nor one whose scene names files outside it.
    disk.writeScene("<s/>");
    ASSERT_EQ(runRunner({disk.root().string(), "--pack", out.string()}).exitCode, 0);
    EXPECT_EQ(runRunner({out.string(), "--pack", (disk.root() / "again.qdisk").string()}).exitCode, 2);
    const std::string beside = disk.root().filename().string() + ".wav";
    disk.writeScene("<s><item onSubmit=\"PlaySfx ..\\" + beside + "\"/></s>");
    disk.write("../" + beside, "x");
    r = runRunner({disk.root().string(), "--pack", (disk.root() / "o2.qdisk").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.output.find("outside the disk folder"), std::string::npos) << r.output;
    fs::remove(disk.root().parent_path() / beside);
}

}  // namespace
}  // namespace qa::test
