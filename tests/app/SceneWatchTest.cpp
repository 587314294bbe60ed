// Watching a disk without a window or a kernel watcher: saves rebuild the scene through the engine's
// one teardown, a broken save keeps the scene with the reason in the panel, the checker's findings
// take its place once they are ready, and the panel put away stays away until the next save.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>

#include "app/SceneWatch.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/watch/FileWatcher.h"
#include "scene/ImageItem.h"
#include "scene/SceneLoader.h"
#include "support/TempDisk.h"

namespace qa::app {
namespace {

// Reports the changes a test hands it.
class HandedWatcher : public platform::watch::FileWatcher {
  public:
    bool watch(const std::string& folder) override {
        watched = folder;
        return true;
    }
    std::vector<std::string> changes() override { return std::exchange(pending, {}); }

    std::string watched;
    std::vector<std::string> pending;
};

check::Finding finding(check::Severity severity, int line, const std::string& message) {
    check::Finding f;
    f.severity = severity;
    f.file = "data/QuorvArt.XQD";
    f.line = line;
    f.column = 2;
    f.message = message;
    return f;
}

class SceneWatchTest : public ::testing::Test {
  protected:
    SceneWatchTest() {
        disk_.writeScene(R"(<scene><item name="a"/></scene>)");
        SceneWatch::Host host;
        host.sceneChange.itemsGoing = [this] {
            steps_.push_back("items going, " + std::to_string(engine_.scene.visuals.size()) + " visuals");
        };
        host.sceneChange.beforeBuild = [this] {
            steps_.push_back("before build, " + std::to_string(engine_.scene.visuals.size()) + " visuals");
        };
        // The checker's answer for each check in turn: what the test put in `findings_`.
        watch_ = std::make_unique<SceneWatch>(engine_, &watcher_, std::move(host), [this] {
            check::FindingReport report;
            for (const check::Finding& f : findings_) report.add(f);
            return report;
        });
        scene::SceneLoader loader(engine_.scene);
        std::string error;
        EXPECT_TRUE(SceneWatch::readScene(loader, error));
        loader.build();
    }

    // Frames until the check asked for has been shown.
    void untilChecked() {
        for (int i = 0; i < 2000 && watch_->checking(); ++i) {
            watch_->frameStarting();
            watch_->framePresented();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_FALSE(watch_->checking());
    }
    void save(const std::string& xml) {
        disk_.writeScene(xml);
        watcher_.pending.push_back("QuorvArt.XQD");
        watch_->frameStarting();
    }
    std::string rootName() const {
        return engine_.scene.rootItems.empty() ? "" : engine_.scene.rootItems.front()->name;
    }

    test::TempDisk disk_;
    platform::audio::SoftwareSoundLibrary sound_{platform::audio::OutputKind::Pull};
    engine::Engine engine_{sound_};
    HandedWatcher watcher_;
    std::vector<std::string> steps_;
    std::vector<check::Finding> findings_;
    std::unique_ptr<SceneWatch> watch_;
};

TEST_F(SceneWatchTest, SavesRebuildTheSceneAndTheCheckerFindingsFollowEachLoad) {
    findings_ = {finding(check::Severity::Warning, 1, "first")};
    watch_->started(true, "");
    EXPECT_EQ(watcher_.watched, "data");
    untilChecked();
    ASSERT_TRUE(watch_->panel().warningsOnly());
    EXPECT_EQ(watch_->panel().lines(), std::vector<std::string>{"data/QuorvArt.XQD:1:2: warning: first"});

    // A good save: the old items are still there when the loop is told they go, gone before the new
    // scene is built.
    findings_ = {finding(check::Severity::Warning, 3, "w"), finding(check::Severity::Error, 4, "e")};
    save(R"(<scene><item name="b"/></scene>)");
    EXPECT_EQ(rootName(), "b");
    EXPECT_EQ(steps_, (std::vector<std::string>{"items going, 1 visuals", "before build, 0 visuals"}));
    untilChecked();
    // Errors first, in the red panel, over the scene that loaded.
    EXPECT_FALSE(watch_->panel().warningsOnly());
    EXPECT_EQ(watch_->panel().lines(), (std::vector<std::string>{"data/QuorvArt.XQD:4:2: error: e",
                                                                 "data/QuorvArt.XQD:3:2: warning: w"}));

    // A broken save: the scene stays, the loader's reason at once, then the checker's place of it.
    findings_ = {finding(check::Severity::Error, 1, "item is never closed")};
    save(R"(<scene><item name="c"></scene>)");
    EXPECT_EQ(rootName(), "b");
    EXPECT_FALSE(watch_->sceneLoaded());
    ASSERT_EQ(watch_->panel().lines().size(), 1u);
    EXPECT_EQ(watch_->panel().lines()[0].rfind("data/QuorvArt.XQD:1:", 0), 0u);
    untilChecked();
    EXPECT_EQ(watch_->panel().lines(),
              std::vector<std::string>{"data/QuorvArt.XQD:1:2: error: item is never closed"});

    // Put away, it stays away for the rest of this round, and comes back with the next save.
    findings_ = {};
    save(R"(<scene><item name="c"></scene>)");
    watch_->dismissPanel();
    untilChecked();
    EXPECT_FALSE(watch_->panel().visible());  // the checker found nothing: the loader's reason, unshown
    findings_ = {finding(check::Severity::Warning, 1, "again")};
    disk_.writeScene(R"(<scene><item name="c"/></scene>)");
    watch_->askReload();  // F5
    watch_->frameStarting();
    EXPECT_TRUE(watch_->sceneLoaded());
    untilChecked();
    EXPECT_EQ(watch_->panel().lines(), std::vector<std::string>{"data/QuorvArt.XQD:1:2: warning: again"});
}

TEST_F(SceneWatchTest, MusicFolderChangesLeaveTheSceneAndLostChangesReloadIt) {
    watch_->started(true, "");
    const scene::ImageItem* before = engine_.scene.rootItems.front();
    watcher_.pending = {"Quorv Part/x.mod", "quorv part/y.mod"};
    watch_->frameStarting();
    EXPECT_EQ(engine_.scene.rootItems.front(), before);
    EXPECT_TRUE(steps_.empty());
    watcher_.pending = {""};
    watch_->frameStarting();
    EXPECT_EQ(steps_.size(), 2u);
}

}  // namespace
}  // namespace qa::app
