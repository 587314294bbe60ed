// PlayTrack, PlaySfx and PauseTrack over the track list and the sound-effect list.
#include "script/SoundCommands.h"

#include "sound/SoundObject.h"
#include "sound/TrackList.h"

namespace qa::script {

SoundCommands::SoundCommands(sound::TrackList& tracks) : tracks_(tracks) {}
SoundCommands::~SoundCommands() = default;

bool SoundCommands::playSfx(std::string path, Vec3, scene::ImageItem* item) {
    if (!item) return false;
    if (!soundOn_) return true;
    for (const std::unique_ptr<sound::SoundObject>& effect : effects_) {
        if (effect->GetName() == path) {
            effect->SetPosition(0.0f);
            effect->Play(true);
            return true;
        }
    }
    // First use: load it (and keep it even when the file cannot be loaded); it plays from the next call.
    if (!makeEffect_) return false;
    std::unique_ptr<sound::SoundObject> effect = makeEffect_(path);
    if (!effect) return false;
    effect->SetLoop(false);
    effects_.push_back(std::move(effect));
    return false;
}

bool SoundCommands::playTrack(std::string name, Vec3, scene::ImageItem* item) {
    if (!item) return false;
    sound::TrackList& tracks = tracks_;
    sound::SoundObject* found = nullptr;
    for (const std::unique_ptr<sound::SoundObject>& track : tracks.tracks()) {
        if (track->GetName() == name) {
            found = track.get();
            break;
        }
    }
    if (!found) return false;
    found->Prepare();
    tracks.current()->Play(false);
    found->SetPosition(0.0f);
    tracks.traceStart(found, "play");
    found->Play(true);
    tracks.moveToFront(found);
    return true;
}

bool SoundCommands::pauseTrack(std::string argument, Vec3, scene::ImageItem* item) {
    if (!item) return false;
    sound::TrackList& tracks = tracks_;
    sound::SoundObject* current = tracks.current();
    if (!current) return false;  // no track could be loaded: nothing to pause or resume
    if (current->IsPlaying() && argument != "play") {
        tracks.setPaused(true);
        return current->Play(false);
    }
    if (argument == "stop") return false;
    tracks.setPaused(false);
    tracks.traceStart(current, "resume");
    return current->Play(true);
}

void SoundCommands::destroyEffects() {
    std::vector<std::unique_ptr<sound::SoundObject>> all;
    all.swap(effects_);
    for (std::unique_ptr<sound::SoundObject>& effect : all) effect.reset();
}

}  // namespace qa::script
