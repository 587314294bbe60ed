// The file watcher sees the saves an author makes, in folders old and new, and nothing else.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/watch/FileWatcher.h"

namespace qa::platform::watch {
namespace {

namespace fs = std::filesystem;

class InotifyWatcherTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("qa-watch-" + std::to_string(getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "data" / "Quorv Part");
        write("data/QuorvArt.XQD", "<scene/>");
        watcher_ = FileWatcher::create();
        ASSERT_TRUE(watcher_->watch(root_.string()));
    }
    void TearDown() override { fs::remove_all(root_); }

    void write(const std::string& relative, const std::string& text) {
        std::ofstream(root_ / relative, std::ios::binary) << text;
    }
    bool saw(const std::vector<std::string>& changes, const std::string& path) {
        return std::find(changes.begin(), changes.end(), path) != changes.end();
    }

    fs::path root_;
    std::unique_ptr<FileWatcher> watcher_;
};

TEST_F(InotifyWatcherTest, NothingChangedIsEmptyAndWatchingAFileFails) {
    EXPECT_TRUE(watcher_->changes().empty());
    auto other = FileWatcher::create();
    EXPECT_FALSE(other->watch((root_ / "data" / "QuorvArt.XQD").string()));
    EXPECT_FALSE(other->watch((root_ / "absent").string()));
}

TEST_F(InotifyWatcherTest, SavesInPlaceAndByRenameInSubfoldersAreSeenOnce) {
    write("data/QuorvArt.XQD", "<scene><item/></scene>");
    write("data/Quorv Part/a.mod", "x");
    auto changes = watcher_->changes();
    EXPECT_TRUE(saw(changes, "data/QuorvArt.XQD"));
    EXPECT_TRUE(saw(changes, "data/Quorv Part/a.mod"));
    EXPECT_EQ(std::count(changes.begin(), changes.end(), "data/QuorvArt.XQD"), 1);
    EXPECT_TRUE(watcher_->changes().empty());

    // How editors save: a new file renamed over the old one.
    write("data/.QuorvArt.XQD.swp", "<scene/>");
    fs::rename(root_ / "data/.QuorvArt.XQD.swp", root_ / "data/QuorvArt.XQD");
    EXPECT_TRUE(saw(watcher_->changes(), "data/QuorvArt.XQD"));
}

TEST_F(InotifyWatcherTest, AFolderMadeLaterIsWatchedToo) {
    fs::create_directories(root_ / "data" / "pages");
    EXPECT_TRUE(saw(watcher_->changes(), "data/pages"));
    write("data/pages/one.txt", "text");
    EXPECT_TRUE(saw(watcher_->changes(), "data/pages/one.txt"));
}

TEST_F(InotifyWatcherTest, AWatchedFolderDeletedOrMovedAwayAndMadeAgainIsWatchedAgain) {
    auto data = FileWatcher::create();
    ASSERT_TRUE(data->watch((root_ / "data").string()));
    fs::remove_all(root_ / "data");
    EXPECT_TRUE(saw(data->changes(), ""));  // everything may have changed
    fs::create_directories(root_ / "data");
    EXPECT_TRUE(saw(data->changes(), ""));
    write("data/QuorvArt.XQD", "<scene/>");
    EXPECT_TRUE(saw(data->changes(), "QuorvArt.XQD"));

    // Moved away and another folder moved in under its name: the moved one is no longer watched.
    fs::rename(root_ / "data", root_ / "old");
    fs::create_directories(root_ / "new");
    data->changes();
    write("old/QuorvArt.XQD", "<scene><item/></scene>");
    EXPECT_TRUE(data->changes().empty());
    fs::rename(root_ / "new", root_ / "data");
    EXPECT_TRUE(saw(data->changes(), ""));
    write("data/QuorvArt.XQD", "<scene/>");
    EXPECT_TRUE(saw(data->changes(), "QuorvArt.XQD"));
    // Its siblings are not reported.
    write("other.txt", "x");
    EXPECT_TRUE(data->changes().empty());
}

}  // namespace
}  // namespace qa::platform::watch
