// The sample player.
#include "sound/SamplePlayer.h"

#include <cstdio>

#include "sound/LibraryUnits.h"
#include "sound/SoundErrorText.h"

namespace qa::sound {

using platform::audio::kModeLoopNormal;
using platform::audio::kModeLoopOff;

SamplePlayer::SamplePlayer(platform::audio::SoundLibrary& library, std::string path)
    : SoundObject(std::move(path)), library_(library) {
    sample = library_.FSOUND_Sample_Load(-1, name.c_str(), kModeLoopOff, 0);
    if (!sample) {
        std::printf("Error: %s\n", SoundErrorText(library_.FSOUND_GetError()));
        return;
    }
    int defaultFrequency = 0, defaultVolume = 0, defaultPan = 0;
    library_.FSOUND_Sample_GetDefaults(sample, &defaultFrequency, &defaultVolume, &defaultPan, nullptr);
    volume = static_cast<float>(defaultVolume);
    pan = defaultPan;
    baseFrequency = static_cast<float>(defaultFrequency);
    library_.FSOUND_Sample_SetMode(sample, loop ? kModeLoopNormal : kModeLoopOff);
}

SamplePlayer::~SamplePlayer() {
    if (!quiet_) std::printf("sfx cleanup\n");
    if (sample) {
        if (channel != -1) library_.FSOUND_StopSound(channel);
        library_.FSOUND_Sample_Free(sample);
    }
}

bool SamplePlayer::IsLoaded() {
    return sample != nullptr;
}

bool SamplePlayer::Play(bool play) {
    if (!sample) return false;
    if (channel != -1 && library_.FSOUND_IsPlaying(channel)) return library_.FSOUND_SetPaused(channel, !play);
    if (!play) return true;
    channel = library_.FSOUND_PlaySound(platform::audio::kAnyChannel, sample);
    return channel != -1;
}

bool SamplePlayer::IsPlaying() {
    return sample && channel != -1 && !library_.FSOUND_GetPaused(channel);
}

bool SamplePlayer::Stop() {
    return library_.FSOUND_StopSound(channel);
}

bool SamplePlayer::SetVolume(float value) {
    if (!sample) return false;
    volume = value;
    if (channel == -1) return true;
    return library_.FSOUND_SetVolume(channel, truncToInt(value * 256.0f));
}

float SamplePlayer::GetVolume() {
    return volume;
}

bool SamplePlayer::SetFrequency(float factor) {
    if (!sample) return false;
    frequency = factor;
    if (channel == -1) return true;
    return library_.FSOUND_SetFrequency(channel, truncToInt(factor * baseFrequency));
}

float SamplePlayer::GetFrequency() {
    return frequency;
}

bool SamplePlayer::SetPosition(float fraction) {
    // Neither the sample nor the channel is tested: the library reports failure for none.
    position = fraction;
    const float length = static_cast<float>(library_.FSOUND_Sample_GetLength(sample));
    return library_.FSOUND_SetCurrentPosition(channel, static_cast<unsigned>(truncToInt(length * position)));
}

float SamplePlayer::GetPosition() {
    if (!sample || channel == -1) return 0.0f;
    const float heard = static_cast<float>(library_.FSOUND_GetCurrentPosition(channel));
    return heard / static_cast<float>(library_.FSOUND_Sample_GetLength(sample));
}

float SamplePlayer::GetTime() {
    if (!sample || channel == -1) return 0.0f;
    return static_cast<float>(library_.FSOUND_GetCurrentPosition(channel)) / baseFrequency;
}

bool SamplePlayer::SetLoop(bool looping) {
    loop = looping;
    if (sample && channel != -1)
        return library_.FSOUND_SetLoopMode(channel, looping ? kModeLoopNormal : kModeLoopOff);
    return true;
}

bool SamplePlayer::GetLoop() {
    return loop;
}

bool SamplePlayer::SetPan(float x) {
    pan = truncToInt(x * 128.0f + 128.0f);
    if (sample && channel != -1) return library_.FSOUND_SetPan(channel, pan);
    return true;
}

float SamplePlayer::GetPan() {
    if (pan == -1) return 0.0f;
    return (static_cast<float>(pan) - 128.0f) * 0.0078125f;
}

}  // namespace qa::sound
