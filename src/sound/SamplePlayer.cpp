// The sample player.
#include "sound/SamplePlayer.h"

#include <cstdio>

#include "sound/LibraryUnits.h"
#include "sound/SoundErrorText.h"

namespace qa::sound {

using platform::audio::kModeLoopNormal;
using platform::audio::kModeLoopOff;
using platform::audio::soundLibrary;

SamplePlayer::SamplePlayer(std::string path) : SoundObject(std::move(path)) {
    platform::audio::SoundLibrary& library = soundLibrary();
    sample = library.FSOUND_Sample_Load(-1, name.c_str(), kModeLoopOff, 0);
    if (!sample) {
        std::printf("Error: %s\n", SoundErrorText(library.FSOUND_GetError()));
        return;
    }
    int defaultFrequency = 0, defaultVolume = 0, defaultPan = 0;
    library.FSOUND_Sample_GetDefaults(sample, &defaultFrequency, &defaultVolume, &defaultPan, nullptr);
    volume = static_cast<float>(defaultVolume);
    pan = defaultPan;
    baseFrequency = static_cast<float>(defaultFrequency);
    library.FSOUND_Sample_SetMode(sample, loop ? kModeLoopNormal : kModeLoopOff);
}

SamplePlayer::~SamplePlayer() {
    if (!quiet_) std::printf("sfx cleanup\n");
    if (sample) {
        if (channel != -1) soundLibrary().FSOUND_StopSound(channel);
        soundLibrary().FSOUND_Sample_Free(sample);
    }
}

bool SamplePlayer::IsLoaded() {
    return sample != nullptr;
}

bool SamplePlayer::Play(bool play) {
    if (!sample) return false;
    platform::audio::SoundLibrary& library = soundLibrary();
    if (channel != -1 && library.FSOUND_IsPlaying(channel)) return library.FSOUND_SetPaused(channel, !play);
    if (!play) return true;
    channel = library.FSOUND_PlaySound(platform::audio::kAnyChannel, sample);
    return channel != -1;
}

bool SamplePlayer::IsPlaying() {
    return sample && channel != -1 && !soundLibrary().FSOUND_GetPaused(channel);
}

bool SamplePlayer::Stop() {
    return soundLibrary().FSOUND_StopSound(channel);
}

bool SamplePlayer::SetVolume(float value) {
    if (!sample) return false;
    volume = value;
    if (channel == -1) return true;
    return soundLibrary().FSOUND_SetVolume(channel, truncToInt(value * 256.0f));
}

float SamplePlayer::GetVolume() {
    return volume;
}

bool SamplePlayer::SetFrequency(float factor) {
    if (!sample) return false;
    frequency = factor;
    if (channel == -1) return true;
    return soundLibrary().FSOUND_SetFrequency(channel, truncToInt(factor * baseFrequency));
}

float SamplePlayer::GetFrequency() {
    return frequency;
}

bool SamplePlayer::SetPosition(float fraction) {
    // Neither the sample nor the channel is tested: the library reports failure for none.
    position = fraction;
    platform::audio::SoundLibrary& library = soundLibrary();
    const float length = static_cast<float>(library.FSOUND_Sample_GetLength(sample));
    return library.FSOUND_SetCurrentPosition(channel, static_cast<unsigned>(truncToInt(length * position)));
}

float SamplePlayer::GetPosition() {
    if (!sample || channel == -1) return 0.0f;
    platform::audio::SoundLibrary& library = soundLibrary();
    const float heard = static_cast<float>(library.FSOUND_GetCurrentPosition(channel));
    return heard / static_cast<float>(library.FSOUND_Sample_GetLength(sample));
}

float SamplePlayer::GetTime() {
    if (!sample || channel == -1) return 0.0f;
    return static_cast<float>(soundLibrary().FSOUND_GetCurrentPosition(channel)) / baseFrequency;
}

bool SamplePlayer::SetLoop(bool looping) {
    loop = looping;
    if (sample && channel != -1)
        return soundLibrary().FSOUND_SetLoopMode(channel, looping ? kModeLoopNormal : kModeLoopOff);
    return true;
}

bool SamplePlayer::GetLoop() {
    return loop;
}

bool SamplePlayer::SetPan(float x) {
    pan = truncToInt(x * 128.0f + 128.0f);
    if (sample && channel != -1) return soundLibrary().FSOUND_SetPan(channel, pan);
    return true;
}

float SamplePlayer::GetPan() {
    if (pan == -1) return 0.0f;
    return (static_cast<float>(pan) - 128.0f) * 0.0078125f;
}

}  // namespace qa::sound
