// The stream player.
#include "sound/StreamPlayer.h"

#include <cstdio>

#include "sound/LibraryUnits.h"
#include "sound/SoundErrorText.h"

namespace qa::sound {

StreamPlayer::StreamPlayer(platform::audio::SoundLibrary& library, std::string path, bool deferred)
    : SoundObject(std::move(path)), library_(library), deferred_(deferred) {
    std::printf("Loading %s\n", name.c_str());
    if (!deferred_) {
        open();
        return;
    }
    loadable_ = library_.Music_Probe(name.c_str(), true);
    if (!loadable_) std::printf("Error: %s\n", SoundErrorText(library_.FSOUND_GetError()));
}

void StreamPlayer::open() {
    stream = library_.FSOUND_Stream_OpenFile(name.c_str(), platform::audio::kModeLoopOff, 0);
    if (!stream) {
        loadable_ = false;
        std::printf("Error: %s\n", SoundErrorText(library_.FSOUND_GetError()));
        return;
    }
    library_.FSOUND_Stream_SetLoopCount(stream, 0);
    library_.FSOUND_Stream_SetEndCallback(stream, &StreamPlayer::OnStreamEnd, this);
}

void StreamPlayer::Prepare() {
    if (deferred_ && loadable_ && !stream) open();
}

void StreamPlayer::Release() {
    if (!deferred_ || !stream) return;
    library_.FSOUND_Stream_Stop(stream);
    library_.FSOUND_Stream_Close(stream);
    stream = nullptr;
    channel = -1;
    started = false;
}

StreamPlayer::~StreamPlayer() {
    if (!quiet_) std::printf("mstream cleanup\n");
    if (stream) {
        library_.FSOUND_Stream_Stop(stream);
        library_.FSOUND_Stream_Close(stream);
    }
}

bool StreamPlayer::IsLoaded() {
    return stream != nullptr || loadable_;
}

bool StreamPlayer::Play(bool play) {
    if (!stream) return false;
    const int ch = channel.load();
    if (ch != -1 && library_.FSOUND_IsPlaying(ch)) return library_.FSOUND_SetPaused(ch, !play);
    if (!play) return true;
    // Started before the library is asked (even when no channel is given): a stream short enough to
    // end before the call returns clears it again from the mixing thread, and stays ended.
    started = true;
    const int fresh = library_.FSOUND_Stream_Play(platform::audio::kAnyChannel, stream);
    channel = fresh;
    return fresh != -1;
}

bool StreamPlayer::IsPlaying() {
    const int ch = channel.load();
    return stream && ch != -1 && started.load() && !library_.FSOUND_GetPaused(ch);
}

bool StreamPlayer::Stop() {
    return library_.FSOUND_Stream_Stop(stream);
}

bool StreamPlayer::SetVolume(float value) {
    if (!stream) return false;
    volume = value;
    const int ch = channel.load();
    if (ch == -1) return true;
    return library_.FSOUND_SetVolume(ch, truncToInt(value * 256.0f));
}

float StreamPlayer::GetVolume() {
    return volume;
}

bool StreamPlayer::SetFrequency(float factor) {
    if (!stream) return false;
    frequency = factor;
    const int ch = channel.load();
    if (ch == -1) return true;
    return library_.FSOUND_SetFrequency(ch, truncToInt(factor * baseFrequency));
}

float StreamPlayer::GetFrequency() {
    return frequency;
}

bool StreamPlayer::SetPosition(float position) {
    if (!stream) return false;
    return library_.FSOUND_Stream_SetPosition(stream, static_cast<unsigned>(truncToInt(position)));
}

float StreamPlayer::GetPosition() {
    const int ch = channel.load();
    if (!stream || ch == -1) return 0.0f;
    const float heard = static_cast<float>(library_.FSOUND_GetCurrentPosition(ch));
    return heard / static_cast<float>(library_.FSOUND_Stream_GetPosition(stream));
}

float StreamPlayer::GetTime() {
    const int ch = channel.load();
    if (!stream || ch == -1) return 0.0f;
    return static_cast<float>(library_.FSOUND_GetCurrentPosition(ch)) / baseFrequency;
}

bool StreamPlayer::SetLoop(bool looping) {
    loop = looping;
    return true;
}

bool StreamPlayer::GetLoop() {
    return loop;
}

bool StreamPlayer::SetPan(float x) {
    pan = truncToInt(x * 128.0f + 128.0f);
    const int ch = channel.load();
    if (stream && ch != -1) return library_.FSOUND_SetPan(ch, pan);
    return true;
}

float StreamPlayer::GetPan() {
    if (pan == -1) return 0.0f;
    return (static_cast<float>(pan) - 128.0f) * 0.0078125f;
}

bool StreamPlayer::OnStreamEnd(platform::audio::StreamHandle stream, void* data, int length, void* user) {
    (void)stream;
    (void)data;
    (void)length;
    auto* player = static_cast<StreamPlayer*>(user);
    if (player->GetLoop()) player->Play(true);
    player->started = false;
    return false;
}

platform::audio::MusicHandle StreamPlayer::music() const {
    return {nullptr, stream};
}

void StreamPlayer::SetNext(SoundObject* next) {
    library_.Music_SetNext(music(), next ? next->music() : platform::audio::MusicHandle{});
}

bool StreamPlayer::Followed() {
    return stream && library_.Music_Followed(music());
}

}  // namespace qa::sound
