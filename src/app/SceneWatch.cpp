// Reloading the scene on a change or F5, the music folder read again, and the checker's findings shown.
#include "app/SceneWatch.h"

#include <algorithm>
#include <cstdio>

#include "platform/file/PathNames.h"
#include "platform/watch/FileWatcher.h"
#include "scene/SceneLoader.h"
#include "sound/SoundObject.h"

namespace qa::app {

SceneWatch::SceneWatch(engine::Engine& engine, platform::watch::FileWatcher* watcher, Host host,
                       BackgroundCheck::CheckFunction check)
    : engine_(engine), watcher_(watcher), host_(std::move(host)) {
    if (check) checks_ = std::make_unique<BackgroundCheck>(std::move(check));
}

SceneWatch::~SceneWatch() = default;

bool SceneWatch::readScene(scene::SceneLoader& loader, std::string& error) {
    if (loader.read()) {
        error.clear();
        return true;
    }
    // Where and what, in the form compilers use, with the path as the disk names it.
    std::string where = kDocumentName;
    if (loader.errorLine() > 0) {
        where += ":" + std::to_string(loader.errorLine());
        if (loader.errorColumn() > 0) where += ":" + std::to_string(loader.errorColumn());
    }
    const std::string reason = loader.errorReason().empty() ? "cannot be read" : loader.errorReason();
    error = where + ": error: " + reason;
    return false;
}

void SceneWatch::started(bool loaded, const std::string& loadError) {
    if (watcher_ && !watcher_->watch(scene::Syntax::kDataFolder))
        std::fprintf(stderr, "quorvart: cannot watch the folder %s\n", scene::Syntax::kDataFolder);
    loaded_ = loaded;
    loadError_ = loadError;
    if (!loaded) panel_.show({loadError_});
    startCheck();
}

void SceneWatch::dismissPanel() {
    dismissed_ = true;
    panel_.hide();
}

void SceneWatch::startCheck() {
    if (checks_) {
        // Once the next frame is presented: the checker never competes with the frame that shows
        // the new scene.
        checkWanted_ = true;
    } else if (!loaded_) {
        // Without the checker, the loader's own words.
        std::fprintf(stderr, "%s\n", loadError_.c_str());
    }
}

void SceneWatch::frameStarting() {
    bool scene = reloadAsked_;
    reloadAsked_ = false;
    bool music = false, allMusic = false;
    std::vector<std::string> musicFiles;
    if (watcher_) {
        for (const std::string& path : watcher_->changes()) {
            if (path.empty()) {  // changes were lost: everything may have changed
                scene = music = allMusic = true;
                continue;
            }
            // Paths are relative to data/; the music folder is found whatever its letter case.
            const std::size_t slash = path.find('/');
            if (!platform::PathNames::sameButCase(path.substr(0, slash), MusicFolder::kFolder)) {
                scene = true;
                continue;
            }
            music = true;
            if (slash == std::string::npos) {
                allMusic = true;  // the folder itself came, went or was renamed
            } else if (path.find('/', slash + 1) == std::string::npos) {
                musicFiles.push_back(path.substr(slash + 1));
            }  // deeper: a sub-folder's files are no tracks
        }
    }
    if (music) rescanMusic(allMusic, musicFiles);
    if (scene) reload();
    if (checks_) {
        if (std::optional<check::FindingReport> report = checks_->take()) showFindings(*report);
    }
}

void SceneWatch::framePresented() {
    if (checkWanted_) {
        checkWanted_ = false;
        checks_->start();
    }
    if (!reloadStarted_) return;
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - *reloadStarted_;
    reloadStarted_.reset();
    std::fprintf(stderr, "quorvart: reloaded in %.0f ms\n", took.count());
}

void SceneWatch::rescanMusic(bool all, const std::vector<std::string>& changed) {
    MusicFolder::rescan(engine_.files(), engine_.tracks, host_.makeTrack, [&](const std::string& name) {
        return all || std::find(changed.begin(), changed.end(), name) != changed.end();
    });
    const sound::SoundObject* current = engine_.tracks.current();
    const std::size_t count = engine_.tracks.tracks().size();
    std::fprintf(stderr, "quorvart: music folder read again: %zu track%s%s%s\n", count, count == 1 ? "" : "s",
                 current ? ", current " : "", current ? current->GetName().c_str() : "");
}

bool SceneWatch::reload() {
    const auto started = std::chrono::steady_clock::now();
    reloadStarted_.reset();
    dismissed_ = false;
    const bool wasLoaded = loaded_;
    scene::SceneLoader loader(engine_.scene);
    loaded_ = readScene(loader, loadError_);
    if (!loaded_) {
        // The old scene stays; the loader's reason shows until the checker places the error.
        panel_.show({loadError_});
        startCheck();
        return false;
    }
    engine_.replaceScene(loader, host_.sceneChange);
    // The findings of the document before stay until the new ones are ready; a load error is over.
    if (!wasLoaded) panel_.hide();
    startCheck();
    // Reported once the first frame of the new scene is presented.
    reloadStarted_ = started;
    return true;
}

void SceneWatch::showFindings(const check::FindingReport& report) {
    std::vector<std::string> errors, warnings;
    for (const check::Finding& f : report.findings()) {
        std::string line = f.text();
        std::fprintf(stderr, "%s\n", line.c_str());
        (f.severity == check::Severity::Error ? errors : warnings).push_back(std::move(line));
    }
    // A document that did not load and in which the checker sees no error: the loader's words.
    if (!loaded_ && errors.empty()) {
        std::fprintf(stderr, "%s\n", loadError_.c_str());
        errors.push_back(loadError_);
    }
    if (dismissed_) return;
    const std::size_t errorCount = errors.size();
    errors.insert(errors.end(), std::make_move_iterator(warnings.begin()),
                  std::make_move_iterator(warnings.end()));
    panel_.show(std::move(errors), errorCount);
}

}  // namespace qa::app
