// The module player. Every operation hands `module` to the library as it is, null included; the
// library reports failure for a null module.
#include "sound/MusicPlayer.h"

#include <cstdio>

#include "sound/LibraryUnits.h"
#include "sound/SoundErrorText.h"

namespace qa::sound {

using platform::audio::soundLibrary;

MusicPlayer::MusicPlayer(std::string path) : SoundObject(std::move(path)) {
    std::printf("Loading %s\n", name.c_str());
    platform::audio::SoundLibrary& library = soundLibrary();
    module = library.FMUSIC_LoadSong(name.c_str());
    if (!module) {
        std::printf("Error: %s\n", SoundErrorText(library.FSOUND_GetError()));
        return;
    }
    library.FMUSIC_SetLooping(module, loop);
    library.FMUSIC_SetMasterVolume(module, kStartVolume);
    library.FMUSIC_SetMasterSpeed(module, speed);
}

MusicPlayer::~MusicPlayer() {
    if (!quiet_) std::printf("music cleanup\n");
    if (module) {
        soundLibrary().FMUSIC_StopSong(module);
        soundLibrary().FMUSIC_FreeSong(module);
    }
}

bool MusicPlayer::IsLoaded() {
    return module != nullptr;
}

bool MusicPlayer::Play(bool play) {
    platform::audio::SoundLibrary& library = soundLibrary();
    // A playing module is paused or resumed, never restarted.
    if (library.FMUSIC_IsPlaying(module)) return library.FMUSIC_SetPaused(module, !play);
    if (play) return library.FMUSIC_PlaySong(module);
    return true;
}

bool MusicPlayer::IsPlaying() {
    platform::audio::SoundLibrary& library = soundLibrary();
    return library.FMUSIC_IsPlaying(module) && !library.FMUSIC_GetPaused(module);
}

bool MusicPlayer::Stop() {
    return soundLibrary().FMUSIC_StopSong(module);
}

bool MusicPlayer::SetVolume(float volume) {
    return soundLibrary().FMUSIC_SetMasterVolume(module, truncToInt(volume * 256.0f));
}

float MusicPlayer::GetVolume() {
    return static_cast<float>(soundLibrary().FMUSIC_GetMasterVolume(module)) * 0.00390625f;
}

bool MusicPlayer::SetFrequency(float factor) {
    speed = factor;
    return soundLibrary().FMUSIC_SetMasterSpeed(module, factor);
}

float MusicPlayer::GetFrequency() {
    return speed;
}

bool MusicPlayer::SetPosition(float position) {
    platform::audio::SoundLibrary& library = soundLibrary();
    const float orders = static_cast<float>(library.FMUSIC_GetNumOrders(module));
    return library.FMUSIC_SetOrder(module, truncToInt(orders * position));
}

float MusicPlayer::GetPosition() {
    platform::audio::SoundLibrary& library = soundLibrary();
    const float order = static_cast<float>(library.FMUSIC_GetOrder(module));
    return order / static_cast<float>(library.FMUSIC_GetNumOrders(module));
}

float MusicPlayer::GetTime() {
    return static_cast<float>(soundLibrary().FMUSIC_GetTime(module)) * 0.001f;
}

bool MusicPlayer::SetLoop(bool looping) {
    loop = looping;
    return soundLibrary().FMUSIC_SetLooping(module, looping);
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

}  // namespace qa::sound
