// Building the engine's parts in dependency order, handing the trace down, tearing down quietly.
#include "engine/Engine.h"

#include "sound/SoundObject.h"

namespace qa::engine {

Engine::Engine(platform::audio::SoundLibrary& sound)
    : scripts(commandTable, scene), timers(scripts), commands(scene, timers, tracks), sound_(sound) {
    scene.scripts = &scripts;
}

Engine::~Engine() {
    // A finished run has left nothing here; a run cut short (or a test) may have.
    timers.reset();
    scene.reset();
    for (const auto& track : tracks.tracks()) track->dropQuietly();
    tracks.destroyAll();
    for (const auto& effect : commands.sound.effects()) effect->dropQuietly();
    commands.sound.destroyEffects();
}

void Engine::setTrace(trace::TraceSink* trace) {
    trace_ = trace;
    scene.trace = trace;
    scripts.setTrace(trace);
    timers.setTrace(trace);
    tracks.setTrace(trace);
}

}  // namespace qa::engine
