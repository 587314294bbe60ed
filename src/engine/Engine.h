// The engine: the one owner of the state a run works on (settings and flags, the scene, the command
// table, the script runner, the timers, the tracks, the sound effects), with the sound library it
// plays through and the trace sink it reports to. Built whole and torn down whole.
#pragma once

#include "engine/Settings.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "script/Commands.h"
#include "script/ScriptRunner.h"
#include "script/TimerList.h"
#include "sound/TrackList.h"

namespace qa::platform::audio {
class SoundLibrary;
}
namespace qa::trace {
class TraceSink;
}

namespace qa::engine {

class Engine {
  public:
    // Plays through `sound`, which must outlive the engine. The script runner is the scene's hook.
    explicit Engine(platform::audio::SoundLibrary& sound);
    // Destroys what a run left behind without running scripts or printing cleanup lines.
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The trace sink every part reports to (not owned); null for none.
    void setTrace(trace::TraceSink* trace);
    trace::TraceSink* trace() const { return trace_; }
    platform::audio::SoundLibrary& soundLibrary() const { return sound_; }

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
    trace::TraceSink* trace_ = nullptr;
};

}  // namespace qa::engine
