// The module player. Every operation hands `module` to the library as it is, null included; the
// library reports failure for a null module.
#include "sound/MusicPlayer.h"

#include <algorithm>
#include <cstdio>

#include "sound/LibraryUnits.h"
#include "sound/SoundErrorText.h"

namespace qa::sound {

MusicPlayer::MusicPlayer(platform::audio::SoundLibrary& library, std::string path, bool deferred)
    : SoundObject(std::move(path)), library_(library), deferred_(deferred) {
    std::printf("Loading %s\n", name.c_str());
    if (!deferred_) {
        load();
        return;
    }
    loadable_ = library_.Music_Probe(name.c_str(), false);
    if (!loadable_) std::printf("Error: %s\n", SoundErrorText(library_.FSOUND_GetError()));
}

void MusicPlayer::load() {
    module = library_.FMUSIC_LoadSong(name.c_str());
    if (!module) {
        loadable_ = false;
        std::printf("Error: %s\n", SoundErrorText(library_.FSOUND_GetError()));
        return;
    }
    library_.FMUSIC_SetLooping(module, loop);
    library_.FMUSIC_SetMasterVolume(module, volume_);
    library_.FMUSIC_SetMasterSpeed(module, speed);
}

void MusicPlayer::Prepare() {
    if (deferred_ && loadable_ && !module) load();
}

void MusicPlayer::Release() {
    if (!deferred_ || !module) return;
    library_.FMUSIC_StopSong(module);
    library_.FMUSIC_FreeSong(module);
    module = nullptr;
}

MusicPlayer::~MusicPlayer() {
    if (!quiet_) std::printf("music cleanup\n");
    if (module) {
        library_.FMUSIC_StopSong(module);
        library_.FMUSIC_FreeSong(module);
    }
}

bool MusicPlayer::IsLoaded() {
    return module != nullptr || loadable_;
}

bool MusicPlayer::Play(bool play) {
    // A playing module is paused or resumed, never restarted.
    if (library_.FMUSIC_IsPlaying(module)) return library_.FMUSIC_SetPaused(module, !play);
    if (play) return library_.FMUSIC_PlaySong(module);
    return true;
}

bool MusicPlayer::IsPlaying() {
    return library_.FMUSIC_IsPlaying(module) && !library_.FMUSIC_GetPaused(module);
}

bool MusicPlayer::Stop() {
    return library_.FMUSIC_StopSong(module);
}

bool MusicPlayer::SetVolume(float volume) {
    volume_ = std::clamp(truncToInt(volume * 256.0f), 0, 256);
    return library_.FMUSIC_SetMasterVolume(module, truncToInt(volume * 256.0f));
}

float MusicPlayer::GetVolume() {
    return static_cast<float>(library_.FMUSIC_GetMasterVolume(module)) * 0.00390625f;
}

bool MusicPlayer::SetFrequency(float factor) {
    speed = factor;
    return library_.FMUSIC_SetMasterSpeed(module, factor);
}

float MusicPlayer::GetFrequency() {
    return speed;
}

bool MusicPlayer::SetPosition(float position) {
    const float orders = static_cast<float>(library_.FMUSIC_GetNumOrders(module));
    return library_.FMUSIC_SetOrder(module, truncToInt(orders * position));
}

float MusicPlayer::GetPosition() {
    const float order = static_cast<float>(library_.FMUSIC_GetOrder(module));
    return order / static_cast<float>(library_.FMUSIC_GetNumOrders(module));
}

float MusicPlayer::GetTime() {
    return static_cast<float>(library_.FMUSIC_GetTime(module)) * 0.001f;
}

bool MusicPlayer::SetLoop(bool looping) {
    loop = looping;
    return library_.FMUSIC_SetLooping(module, looping);
}

bool MusicPlayer::GetLoop() {
    return loop;
}

bool MusicPlayer::SetPan(float pan) {
    (void)pan;
    return true;
}

float MusicPlayer::GetPan() {
    return 0.0f;
}

platform::audio::MusicHandle MusicPlayer::music() const {
    return {module, nullptr};
}

void MusicPlayer::SetNext(SoundObject* next) {
    library_.Music_SetNext(music(), next ? next->music() : platform::audio::MusicHandle{});
}

bool MusicPlayer::Followed() {
    return module && library_.Music_Followed(music());
}

}  // namespace qa::sound
