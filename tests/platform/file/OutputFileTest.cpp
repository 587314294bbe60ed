// Output files: which targets may be replaced, that nothing is written through a name planted beside
// the target, and that a write that fails leaves the old file and no partial one.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file/OutputFile.h"
#include "support/TempDisk.h"

namespace qa::platform {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(OutputFile, OnlyAbsentOrRegularFilesThatAreNoInputAreReplaced) {
    test::TempDisk disk;
    const fs::path root = disk.root();
    disk.write("old.png", "old");
    disk.write("font.ttf", "font");
    disk.write("data/scene.xqd", "scene");
    fs::create_directories(root / "folder");
    ASSERT_EQ(::mkfifo((root / "pipe").c_str(), 0644), 0);
    fs::create_symlink(root / "font.ttf", root / "link-to-font");
    fs::create_symlink(root / "nowhere", root / "dangling");
    fs::create_symlink(root / "data", root / "data-link");
    const std::vector<fs::path> inputs = {root / "font.ttf", root / "data"};
    const struct {
        fs::path target;
        const char* refusal;  // a part of the reason, or empty when the target may be written
    } cases[] = {
        {root / "new.png", ""},
        {root / "old.png", ""},
        {root / "dangling", ""},
        {"/dev/null", "not a regular file"},
        {"/dev/full", "not a regular file"},
        {root / "pipe", "not a regular file"},
        {root / "folder", "not a regular file"},
        {root / "font.ttf", "one of this run's inputs"},
        {root / "link-to-font", "one of this run's inputs"},
        {root / "data" / "scene.xqd", "which this run reads"},
        {root / "data" / "new.qdisk", "which this run reads"},
        {root / "data-link" / "new.qdisk", "which this run reads"},
        {root / "data" / ".." / "ok.png", ""},
    };
    for (const auto& c : cases) {
        const std::string why = OutputFile::refusal(c.target, inputs);
        if (*c.refusal) {
            EXPECT_NE(why.find(c.refusal), std::string::npos) << c.target << ": " << why;
        } else {
            EXPECT_EQ(why, "") << c.target;
        }
    }
    // Without inputs a device is still refused when the file is made, and nothing is created.
    std::string error;
    EXPECT_EQ(OutputFile::create("/dev/null", error), nullptr);
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(OutputFile, LinksPlantedBesideTheTargetAreNeverWrittenThrough) {
    test::TempDisk disk;
    disk.write("victim", "keep me");
    const fs::path target = disk.root() / "out.png";
    for (const char* planted : {"out.png.part", ".out.png.part", "out.png.tmp", "out.png.partial"})
        fs::create_symlink(disk.root() / "victim", disk.root() / planted);
    std::string error;
    std::unique_ptr<OutputFile> out = OutputFile::create(target, error);
    ASSERT_NE(out, nullptr) << error;
    ASSERT_TRUE(out->write("new picture", 11));
    ASSERT_TRUE(out->commit(error)) << error;
    EXPECT_EQ(bytesOf(disk.root() / "victim"), "keep me");
    EXPECT_EQ(bytesOf(target), "new picture");
    EXPECT_EQ(filesIn(disk.root()), 7u);  // data/, victim, the four links and the output
    // The finished file has the permissions of any new file, not the temporary file's private ones.
    EXPECT_NE(fs::status(target).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST(OutputFile, AFailedWriteKeepsTheOldFileAndLeavesNoPartialOne) {
    test::TempDisk disk;
    disk.write("out.wav", "the earlier file");
    const fs::path target = disk.root() / "out.wav";
    // The file size limit stands in for a full disk: writes past it fail as they do there.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    std::unique_ptr<OutputFile> out = OutputFile::create(target, error);
    bool ok = out != nullptr;
    const std::string block(1000, 'x');
    for (int i = 0; ok && i < 100; ++i) out->write(block.data(), block.size());  // failures show at the end
    if (ok) ok = out->commit(error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("File too large"), std::string::npos) << error;
    EXPECT_EQ(bytesOf(target), "the earlier file");
    EXPECT_EQ(filesIn(disk.root()), 2u);  // data/ and the earlier file

    // Given up without a commit: the same.
    out = OutputFile::create(target, error);
    ASSERT_NE(out, nullptr);
    out->write("half", 4);
    out.reset();
    EXPECT_EQ(bytesOf(target), "the earlier file");
    EXPECT_EQ(filesIn(disk.root()), 2u);
}

}  // namespace
}  // namespace qa::platform
