// The engine: the one owner of the state a run works on (settings and flags, the scene, the command
// table, the script runner, the timers, the tracks, the sound effects), with the sound library it
// plays through, the disk's file source it reads from and the trace sink it reports to. Built whole
// and torn down whole.
#pragma once

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

    Settings settings;
    scene::SceneState scene;
    script::CommandTable commandTable;
    script::ScriptRunner scripts;
    script::TimerList timers;
    sound::TrackList tracks;
    script::Commands commands;  // every command set; the sound commands hold the sound effects

  private:
    platform::audio::SoundLibrary& sound_;
    std::shared_ptr<platform::FileSource> files_;
    trace::TraceSink* trace_ = nullptr;
};

}  // namespace qa::engine
