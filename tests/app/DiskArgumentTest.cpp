// The program given something that is not a disk says so, with the full path, and ends with the
// usage code before any window or box opens; a disk whose scene document is spelt in another case
// is still a disk.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/RunnerProcess.h"
#include "support/TempDisk.h"

namespace qa::test {
namespace {

namespace fs = std::filesystem;

struct Ended {
    int code = -1;
    std::string err;
};

// The program without any display, so that a window it tried to open would fail otherwise.
Ended play(const std::string& disk, const fs::path& config) {
    const std::string err = tempPath(".txt");
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME='" + config.string() +
                                "' timeout 20 " + std::string(QA_PROGRAM_EXE) + " '" + disk +
                                "' >/dev/null 2>" + err;
    const int status = std::system(command.c_str());
    Ended e;
    e.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(err);
    std::stringstream s;
    s << in.rdbuf();
    e.err = s.str();
    std::remove(err.c_str());
    return e;
}

TEST(DiskArgument, AFolderWithoutASceneOrASceneFileIsNoDisk) {
    TempDisk disk;
    fs::create_directories(disk.root() / "empty/data");
    const std::string empty = (disk.root() / "empty").string();
    Ended e = play(empty + "/", disk.root() / "config");
    EXPECT_EQ(e.code, 2);
    EXPECT_EQ(e.err, "quorvart: " + empty + " is not a disk: no data/QuorvArt.XQD in " + empty + "\n");

    disk.writeScene("<scene/>");
    const std::string scene = (disk.root() / "data/QuorvArt.XQD").string();
    e = play(scene, disk.root() / "config");
    EXPECT_EQ(e.code, 2);
    EXPECT_EQ(e.err, "quorvart: " + scene +
                         " is not a disk: it is a scene document; give its disk's folder (the one that holds "
                         "data/QuorvArt.XQD): quorvart " +
                         disk.root().string() + "\n");

    // Spelt in another case, the document is found as every other file of the disk is: a disk.
    fs::create_directories(disk.root() / "cased/Data");
    std::ofstream((disk.root() / "cased/Data/quorvart.xqd").string()) << "<scene/>";
    e = play((disk.root() / "cased").string(), disk.root() / "config");
    EXPECT_NE(e.code, 2) << e.err;
    EXPECT_EQ(e.err.find("is not a disk"), std::string::npos) << e.err;
}

}  // namespace
}  // namespace qa::test
