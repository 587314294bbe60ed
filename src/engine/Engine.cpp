// Building the engine's parts in dependency order, handing the trace down, tearing down quietly.
#include "engine/Engine.h"

#include "platform/file/FolderSource.h"
#include "scene/SceneLoader.h"
#include "sound/SoundObject.h"

namespace qa::engine {

Engine::Engine(platform::audio::SoundLibrary& sound, std::shared_ptr<platform::FileSource> files)
    : scripts(commandTable, scene),
      timers(scripts),
      commands(scene, timers, tracks),
      sound_(sound),
      files_(files ? std::move(files) : std::make_shared<platform::file::FolderSource>()) {
    scene.scripts = &scripts;
    scene.pictures.setFiles(files_.get());
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

void Engine::endScene(Pictures pictures, const std::function<void()>& itemsGoing) {
    // The end scripts of the timers still alive run first, while every item, track and sound effect
    // they could name still exists.
    timers.shutdown();
    if (itemsGoing) itemsGoing();
    if (pictures == Pictures::SetAside) scene.pictures.setAsideAll();
    // Every visual, in construction order (items and the cursor picture).
    scene.destroyAllVisuals();
    if (pictures == Pictures::Release) scene.pictures.releaseAll();
    scene.nextItemIndex = 0;
}

void Engine::replaceScene(scene::SceneLoader& loaded, const SceneChange& change) {
    endScene(Pictures::SetAside, change.itemsGoing);
    if (change.beforeBuild) change.beforeBuild();
    loaded.build();
    scene.pictures.dropSetAside();
}

void Engine::shutdown(const std::function<void()>& itemsGoing) {
    endScene(Pictures::Release, itemsGoing);
    tracks.destroyAll();
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
