// The engine: the one owner of the state a run works on (settings and flags, the scene, the command
// table, the script runner, the timers, the tracks, the sound effects), with the sound library it
// plays through, the disk's file source it reads from and the trace sink it reports to. Built whole
// and torn down whole.
#pragma once

#include <functional>
#include <memory>

#include "engine/Settings.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "script/Commands.h"
#include "script/ScriptRunner.h"
#include "script/TimerList.h"
#include "sound/TrackList.h"

namespace qa::platform {
class FileSource;
}
namespace qa::platform::audio {
class SoundLibrary;
}
namespace qa::trace {
class TraceSink;
}
namespace qa::scene {
class SceneLoader;
}

namespace qa::engine {

class Engine {
  public:
    // Plays through `sound`, which must outlive the engine, and reads the disk's scene document,
    // pictures, texts and music folder from `files` (null: the disk in the working folder). The
    // script runner is the scene's hook.
    explicit Engine(platform::audio::SoundLibrary& sound,
                    std::shared_ptr<platform::FileSource> files = nullptr);
    // Destroys what a run left behind without running scripts or printing cleanup lines.
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The trace sink every part reports to (not owned); null for none.
    void setTrace(trace::TraceSink* trace);
    trace::TraceSink* trace() const { return trace_; }
    platform::audio::SoundLibrary& soundLibrary() const { return sound_; }
    platform::FileSource& files() const { return *files_; }

    // Fills the command table in its fixed order.
    void registerCommands() { commands.registerAll(commandTable); }

    // What the owner of the frame loop does while one scene gives way to another.
    struct SceneChange {
        std::function<void()> itemsGoing;   // after the timers' end scripts, before any visual goes
        std::function<void()> beforeBuild;  // the old scene is gone; visuals made here come first
    };
    // Replaces the scene with the document `loaded` has read. The old scene ends as at shutdown (the
    // end scripts of the timers still alive, then every visual in construction order), except that
    // its pictures are set aside: one whose file did not change is not decoded again. Then the new
    // items are built and their onLoad scripts run.
    void replaceScene(scene::SceneLoader& loaded, const SceneChange& change);
    // The end of a run: the scene ends as above with its pictures released, then the tracks, then
    // the sound effects.
    void shutdown(const std::function<void()>& itemsGoing);

    Settings settings;
    scene::SceneState scene;
    script::CommandTable commandTable;
    script::ScriptRunner scripts;
    script::TimerList timers;
    sound::TrackList tracks;
    script::Commands commands;  // every command set; the sound commands hold the sound effects

  private:
    enum class Pictures { SetAside, Release };
    // The one teardown order of a scene.
    void endScene(Pictures pictures, const std::function<void()>& itemsGoing);

    platform::audio::SoundLibrary& sound_;
    std::shared_ptr<platform::FileSource> files_;
    trace::TraceSink* trace_ = nullptr;
};

}  // namespace qa::engine
