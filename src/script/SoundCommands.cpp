// PlayTrack, PlaySfx and PauseTrack over the track list and the sound-effect list.
#include "script/SoundCommands.h"

#include "sound/SoundObject.h"
#include "sound/TrackList.h"

namespace qa::script {

bool SoundCommands::playSfx(std::string path, platform::Vec3, scene::ImageItem* item) {
    if (!item) return false;
    if (!soundOn_) return true;
    for (sound::SoundObject* effect : effects_) {
        if (effect->GetName() == path) {
            effect->SetPosition(0.0f);
            effect->Play(true);
            return true;
        }
    }
    // First use: load it (and keep it even when the file cannot be loaded); it plays from the next call.
    if (!makeEffect_) return false;
    sound::SoundObject* effect = makeEffect_(path);
    if (!effect) return false;
    effect->SetLoop(false);
    effects_.push_back(effect);
    return false;
}

bool SoundCommands::playTrack(std::string name, platform::Vec3, scene::ImageItem* item) {
    if (!item) return false;
    sound::TrackList& tracks = sound::trackList();
    sound::SoundObject* found = nullptr;
    for (sound::SoundObject* track : tracks.tracks()) {
        if (track->GetName() == name) {
            found = track;
            break;
        }
    }
    if (!found) return false;
    tracks.current()->Play(false);
    found->SetPosition(0.0f);
    sound::TrackList::traceStart(found, "play");
    found->Play(true);
    tracks.moveToFront(found);
    return true;
}

bool SoundCommands::pauseTrack(std::string argument, platform::Vec3, scene::ImageItem* item) {
    if (!item) return false;
    sound::TrackList& tracks = sound::trackList();
    sound::SoundObject* current = tracks.current();
    if (!current) return false;  // no track could be loaded: nothing to pause or resume
    if (current->IsPlaying() && argument != "play") {
        tracks.setPaused(true);
        return current->Play(false);
    }
    if (argument == "stop") return false;
    tracks.setPaused(false);
    sound::TrackList::traceStart(current, "resume");
    return current->Play(true);
}

void SoundCommands::destroyEffects() {
    std::vector<sound::SoundObject*> all;
    all.swap(effects_);
    for (sound::SoundObject* effect : all) delete effect;
}

}  // namespace qa::script
