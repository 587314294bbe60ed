// The runner's and the font tool's outputs: a target that is not a regular file, or that the run
// reads, is refused before anything is written; a write that fails (a full disk) is an error that
// leaves no file, whole or partial.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/RunnerProcess.h"
#include "support/TempDisk.h"

namespace qa::test {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct Shell {
    int exitCode = -1;
    std::string err;
};

// A command through the shell, its standard error kept, cut off after 30 seconds.
Shell shell(const std::string& command) {
    const std::string err = tempPath(".err");
    const int status = std::system(("timeout 30 " + command + " >/dev/null 2>'" + err + "'").c_str());
    Shell s{WIFEXITED(status) ? WEXITSTATUS(status) : -1, bytesOf(err)};
    fs::remove(err);
    return s;
}

const std::string kScene = "<s><item name='a' onLoad='Hide a'/></s>";

TEST(OutputTarget, DevicesPipesInputsAndTwiceNamedFilesAreRefused) {
    TempDisk disk;
    disk.writeScene(kScene);
    disk.write("data/Quorv Part/.keep", "");
    const fs::path out = disk.root().parent_path() / ("outputs-" + disk.root().filename().string());
    fs::create_directories(out);
    const std::string pipe = (out / "pipe").string(), input = (out / "keys.txt").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    std::ofstream(input) << "1 key 13\n";
    const std::string scene = (disk.root() / "data/QuorvArt.XQD").string();
    const std::string d = disk.root().string(), t = (out / "t.jsonl").string();
    const struct {
        std::vector<std::string> args;
        const char* reason;
    } cases[] = {
        {{"--trace", pipe}, "not a regular file"},
        {{"--shot", "2:" + pipe}, "not a regular file"},
        {{"--audio", pipe}, "not a regular file"},
        {{"--video", (out / "folder.mp4").string()}, "not a regular file"},
        {{"--pack", pipe}, "not a regular file"},
        {{"--pack", scene}, "which this run reads"},
        {{"--pack", (disk.root() / "data/Quorv Part/disk.qdisk").string()}, "which this run reads"},
        {{"--trace", scene}, "which this run reads"},
        {{"--input", input, "--trace", input}, "one of this run's inputs"},
        {{"--trace", t, "--audio", t}, "is named by --trace already"},
    };
    fs::create_directories(out / "folder.mp4");
    for (const auto& c : cases) {
        std::vector<std::string> args = {d, "--frames", "3"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const RunResult run = runRunner(args, 30);
        EXPECT_EQ(run.exitCode, 2) << c.args.back() << "\n" << run.output;
        EXPECT_NE(run.output.find(c.reason), std::string::npos) << run.output;
    }
    struct stat st {};
    ASSERT_EQ(::stat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(bytesOf(scene), kScene);
    EXPECT_EQ(bytesOf(input), "1 key 13\n");
    EXPECT_EQ(namesIn(out), (std::vector<std::string>{"folder.mp4", "keys.txt", "pipe"}));
    EXPECT_EQ(namesIn(disk.root() / "data/Quorv Part"), std::vector<std::string>{".keep"});
    fs::remove_all(out);
}

TEST(OutputTarget, AFullDiskFailsTheRunAndLeavesNoFile) {
    TempDisk disk;
    const fs::path out = disk.root() / "out";
    fs::create_directories(out);
    // The file size limit stands in for a full file system: writes past it fail as they do there.
    const std::string limited = "sh -c \"trap '' XFSZ; ulimit -f 8; exec '" + std::string(QA_RUNNER_EXE) +
                                "' '" + QA_DEMO_QDISK + "' --frames 300 ";
    for (const std::string& option :
         {"--trace " + (out / "t.jsonl").string(), "--audio " + (out / "a.wav").string(),
          "--shot 2:" + (out / "s.png").string()}) {
        const Shell run = shell(limited + option + "\"");
        EXPECT_EQ(run.exitCode, 2) << option << "\n" << run.err;
        EXPECT_NE(run.err.find("cannot"), std::string::npos) << run.err;
        EXPECT_TRUE(namesIn(out).empty()) << option << ": " << namesIn(out).front();
    }
}

TEST(OutputTarget, TheFontToolNeverReplacesItsFontAPipeOrALinksTarget) {
    TempDisk disk;
    const fs::path font = disk.root() / "f.ttf";
    fs::copy_file("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", font);
    const std::string original = bytesOf(font);
    const std::string tool = std::string(QA_FONT_EXE) + " ";
    Shell run = shell(tool + font.string() + " 16 " + font.string());
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("one of this run's inputs"), std::string::npos) << run.err;
    EXPECT_EQ(bytesOf(font), original);

    const fs::path pipe = disk.root() / "pipe.png";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    run = shell(tool + font.string() + " 16 " + pipe.string());
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_TRUE(fs::is_fifo(pipe));

    // A pipe as the font is refused at once rather than waited on.
    run = shell(tool + pipe.string() + " 16 " + (disk.root() / "x.png").string());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("cannot be opened"), std::string::npos) << run.err;

    // Links planted where a temporary file might be named lead nowhere the tool writes.
    disk.write("victim", "keep me");
    for (const char* planted : {"out.png.part", ".out.png.part"})
        fs::create_symlink(disk.root() / "victim", disk.root() / planted);
    run = shell(tool + font.string() + " 16 " + (disk.root() / "out.png").string());
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(bytesOf(disk.root() / "victim"), "keep me");
    EXPECT_GT(fs::file_size(disk.root() / "out.png"), 1000u);
}

}  // namespace
}  // namespace qa::test
