// Watching a disk while it plays: a change under data/ (or F5) rebuilds the scene from its document,
// a change in the music folder reads the folder again, and what the checker finds in the new document
// is shown in the panel over the scene and on standard error, without a frame waiting for it.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/BackgroundCheck.h"
#include "app/ErrorPanel.h"
#include "app/MusicFolder.h"
#include "engine/Engine.h"
#include "scene/Syntax.h"

namespace qa::platform::watch {
class FileWatcher;
}
namespace qa::scene {
class SceneLoader;
}

namespace qa::app {

class SceneWatch {
  public:
    // The scene document as findings and load errors name it.
    static constexpr const char* kDocumentName = scene::Syntax::kDocumentName;

    // What the owner of the frame loop does for a reload: around the change of scene, and to make a
    // player for a track of the music folder.
    struct Host {
        engine::Engine::SceneChange sceneChange;
        MusicFolder::PlayerMaker makeTrack;
    };

    // Watches data/ through `watcher` (null: only F5 reloads) and rebuilds the scene of `engine`.
    // `check` checks the disk in the current folder; empty: no checks (a packed disk).
    SceneWatch(engine::Engine& engine, platform::watch::FileWatcher* watcher, Host host,
               BackgroundCheck::CheckFunction check);
    ~SceneWatch();

    // Reads the scene document into `loader`; on failure `error` says where and why, as
    // "data/QuorvArt.XQD:LINE:COLUMN: error: REASON".
    static bool readScene(scene::SceneLoader& loader, std::string& error);

    // The run has started with its scene loaded, or not for the reason `loadError`: starts watching,
    // shows the reason at once, and checks the disk.
    void started(bool loaded, const std::string& loadError);
    // The author asked for a reload (F5): done at the start of the next frame.
    void askReload() { reloadAsked_ = true; }
    // Hides the panel until the next reload.
    void dismissPanel();

    // At the start of every frame: reloads when a file changed or a reload was asked for, reads the
    // music folder again when something in it changed, and shows the findings of a finished check.
    void frameStarting();
    // Right after a frame is presented: the first frame of a reloaded scene reports how long it took,
    // and the check of a load starts.
    void framePresented();

    // Reloads the scene document and everything it names; the music goes on. When the new document
    // does not load, the scene on screen stays and the panel tells why. False then.
    bool reload();

    bool sceneLoaded() const { return loaded_; }
    const ErrorPanel& panel() const { return panel_; }
    ErrorPanel& panel() { return panel_; }
    // Whether a check asked for has not been shown yet.
    bool checking() const { return checkWanted_ || (checks_ && checks_->pending()); }
    // Whether the checker is at work now.
    bool checkRunning() const { return checks_ && checks_->running(); }

  private:
    void rescanMusic(bool all, const std::vector<std::string>& changed);
    // The checker's findings, on standard error and (unless dismissed) in the panel.
    void showFindings(const check::FindingReport& report);
    void startCheck();

    engine::Engine& engine_;
    platform::watch::FileWatcher* watcher_;
    Host host_;
    std::unique_ptr<BackgroundCheck> checks_;
    ErrorPanel panel_;
    bool loaded_ = false;
    std::string loadError_;  // what the last failed load said
    bool dismissed_ = false;
    bool checkWanted_ = false;  // a check is started once the next frame is presented
    bool reloadAsked_ = false;
    // When the reload that the next presented frame shows began (to report how long it took).
    std::optional<std::chrono::steady_clock::time_point> reloadStarted_;
};

}  // namespace qa::app
