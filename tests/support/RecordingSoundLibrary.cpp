// The recording sound library.
#include "support/RecordingSoundLibrary.h"

#include <cstdio>

namespace qa::test {

namespace {

std::string h(const void* handle) {
    if (!handle) return "null";
    if (handle == RecordingSoundLibrary::module()) return "M";
    if (handle == RecordingSoundLibrary::stream()) return "T";
    if (handle == RecordingSoundLibrary::sample()) return "S";
    return "?";
}

std::string f(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(v));
    return buf;
}

std::string s(const char* text) {
    return text ? text : "null";
}
std::string n(long long v) {
    return std::to_string(v);
}
std::string p(const int* out) {
    return out ? "&" : "null";
}

}  // namespace

void RecordingSoundLibrary::note(const std::string& call) {
    calls_.push_back(call);
}

std::string RecordingSoundLibrary::take() {
    std::string all;
    for (const std::string& c : calls_) all += (all.empty() ? "" : ";") + c;
    calls_.clear();
    return all;
}

float RecordingSoundLibrary::FSOUND_GetVersion() {
    note("FSOUND_GetVersion()");
    return version;
}
bool RecordingSoundLibrary::FSOUND_SetHWND(void* window) {
    note(std::string("FSOUND_SetHWND(") + (window ? "window" : "null") + ")");
    return true;
}
bool RecordingSoundLibrary::FSOUND_Init(int mixRate, int softwareChannels, unsigned flags) {
    note("FSOUND_Init(" + n(mixRate) + "," + n(softwareChannels) + "," + n(flags) + ")");
    return initResult;
}
int RecordingSoundLibrary::FSOUND_GetError() {
    note("FSOUND_GetError()");
    return error;
}
int RecordingSoundLibrary::FSOUND_GetOutput() {
    note("FSOUND_GetOutput()");
    return output;
}

platform::audio::ModuleHandle RecordingSoundLibrary::FMUSIC_LoadSong(const char* path) {
    note("FMUSIC_LoadSong(" + s(path) + ")");
    return loadSucceeds ? module() : nullptr;
}
bool RecordingSoundLibrary::FMUSIC_FreeSong(platform::audio::ModuleHandle m) {
    note("FMUSIC_FreeSong(" + h(m) + ")");
    return result;
}
bool RecordingSoundLibrary::FMUSIC_PlaySong(platform::audio::ModuleHandle m) {
    note("FMUSIC_PlaySong(" + h(m) + ")");
    return result;
}
bool RecordingSoundLibrary::FMUSIC_StopSong(platform::audio::ModuleHandle m) {
    note("FMUSIC_StopSong(" + h(m) + ")");
    return result;
}
bool RecordingSoundLibrary::FMUSIC_IsPlaying(platform::audio::ModuleHandle m) {
    note("FMUSIC_IsPlaying(" + h(m) + ")");
    return isPlaying;
}
bool RecordingSoundLibrary::FMUSIC_SetPaused(platform::audio::ModuleHandle m, bool pause) {
    note("FMUSIC_SetPaused(" + h(m) + "," + n(pause) + ")");
    return result;
}
bool RecordingSoundLibrary::FMUSIC_GetPaused(platform::audio::ModuleHandle m) {
    note("FMUSIC_GetPaused(" + h(m) + ")");
    return paused;
}
bool RecordingSoundLibrary::FMUSIC_SetLooping(platform::audio::ModuleHandle m, bool looping) {
    note("FMUSIC_SetLooping(" + h(m) + "," + n(looping) + ")");
    return result;
}
bool RecordingSoundLibrary::FMUSIC_SetMasterVolume(platform::audio::ModuleHandle m, int volume) {
    note("FMUSIC_SetMasterVolume(" + h(m) + "," + n(volume) + ")");
    return result;
}
int RecordingSoundLibrary::FMUSIC_GetMasterVolume(platform::audio::ModuleHandle m) {
    note("FMUSIC_GetMasterVolume(" + h(m) + ")");
    return masterVolume;
}
bool RecordingSoundLibrary::FMUSIC_SetMasterSpeed(platform::audio::ModuleHandle m, float speed) {
    note("FMUSIC_SetMasterSpeed(" + h(m) + "," + f(speed) + ")");
    return result;
}
int RecordingSoundLibrary::FMUSIC_GetNumOrders(platform::audio::ModuleHandle m) {
    note("FMUSIC_GetNumOrders(" + h(m) + ")");
    return orders;
}
int RecordingSoundLibrary::FMUSIC_GetOrder(platform::audio::ModuleHandle m) {
    note("FMUSIC_GetOrder(" + h(m) + ")");
    return order;
}
bool RecordingSoundLibrary::FMUSIC_SetOrder(platform::audio::ModuleHandle m, int o) {
    note("FMUSIC_SetOrder(" + h(m) + "," + n(o) + ")");
    return result;
}
int RecordingSoundLibrary::FMUSIC_GetTime(platform::audio::ModuleHandle m) {
    note("FMUSIC_GetTime(" + h(m) + ")");
    return timeMs;
}

platform::audio::StreamHandle RecordingSoundLibrary::FSOUND_Stream_OpenFile(const char* path, unsigned mode,
                                                                            int len) {
    note("FSOUND_Stream_OpenFile(" + s(path) + "," + n(mode) + "," + n(len) + ")");
    return loadSucceeds ? stream() : nullptr;
}
bool RecordingSoundLibrary::FSOUND_Stream_SetLoopCount(platform::audio::StreamHandle st, int count) {
    note("FSOUND_Stream_SetLoopCount(" + h(st) + "," + n(count) + ")");
    return result;
}
bool RecordingSoundLibrary::FSOUND_Stream_SetEndCallback(platform::audio::StreamHandle st,
                                                         platform::audio::StreamEndCallback cb, void* u) {
    note("FSOUND_Stream_SetEndCallback(" + h(st) + "," + (cb ? "callback" : "null") + "," +
         (u ? "user" : "null") + ")");
    callback = cb;
    user = u;
    return result;
}
int RecordingSoundLibrary::FSOUND_Stream_Play(int channel, platform::audio::StreamHandle st) {
    note("FSOUND_Stream_Play(" + n(channel) + "," + h(st) + ")");
    return playChannel;
}
bool RecordingSoundLibrary::FSOUND_Stream_Stop(platform::audio::StreamHandle st) {
    note("FSOUND_Stream_Stop(" + h(st) + ")");
    return result;
}
bool RecordingSoundLibrary::FSOUND_Stream_Close(platform::audio::StreamHandle st) {
    note("FSOUND_Stream_Close(" + h(st) + ")");
    return result;
}
bool RecordingSoundLibrary::FSOUND_Stream_SetPosition(platform::audio::StreamHandle st, unsigned pos) {
    note("FSOUND_Stream_SetPosition(" + h(st) + "," + n(pos) + ")");
    return result;
}
unsigned RecordingSoundLibrary::FSOUND_Stream_GetPosition(platform::audio::StreamHandle st) {
    note("FSOUND_Stream_GetPosition(" + h(st) + ")");
    return streamPosition;
}

platform::audio::SampleHandle RecordingSoundLibrary::FSOUND_Sample_Load(int index, const char* path,
                                                                        unsigned mode, int offset) {
    note("FSOUND_Sample_Load(" + n(index) + "," + s(path) + "," + n(mode) + "," + n(offset) + ")");
    return loadSucceeds ? sample() : nullptr;
}
bool RecordingSoundLibrary::FSOUND_Sample_GetDefaults(platform::audio::SampleHandle sa, int* frequency,
                                                      int* volume, int* pan, int* priority) {
    note("FSOUND_Sample_GetDefaults(" + h(sa) + "," + p(frequency) + "," + p(volume) + "," + p(pan) + "," +
         p(priority) + ")");
    if (frequency) *frequency = defaultFrequency;
    if (volume) *volume = defaultVolume;
    if (pan) *pan = defaultPan;
    if (priority) *priority = 128;
    return result;
}
bool RecordingSoundLibrary::FSOUND_Sample_SetMode(platform::audio::SampleHandle sa, unsigned mode) {
    note("FSOUND_Sample_SetMode(" + h(sa) + "," + n(mode) + ")");
    return result;
}
unsigned RecordingSoundLibrary::FSOUND_Sample_GetLength(platform::audio::SampleHandle sa) {
    note("FSOUND_Sample_GetLength(" + h(sa) + ")");
    return length;
}
bool RecordingSoundLibrary::FSOUND_Sample_Free(platform::audio::SampleHandle sa) {
    note("FSOUND_Sample_Free(" + h(sa) + ")");
    return result;
}
int RecordingSoundLibrary::FSOUND_PlaySound(int channel, platform::audio::SampleHandle sa) {
    note("FSOUND_PlaySound(" + n(channel) + "," + h(sa) + ")");
    return playChannel;
}
bool RecordingSoundLibrary::FSOUND_StopSound(int channel) {
    note("FSOUND_StopSound(" + n(channel) + ")");
    return channel != -1 && result;
}

bool RecordingSoundLibrary::FSOUND_IsPlaying(int channel) {
    note("FSOUND_IsPlaying(" + n(channel) + ")");
    return isPlaying;
}
bool RecordingSoundLibrary::FSOUND_SetPaused(int channel, bool pause) {
    note("FSOUND_SetPaused(" + n(channel) + "," + n(pause) + ")");
    return result;
}
bool RecordingSoundLibrary::FSOUND_GetPaused(int channel) {
    note("FSOUND_GetPaused(" + n(channel) + ")");
    return paused;
}
bool RecordingSoundLibrary::FSOUND_SetVolume(int channel, int volume) {
    note("FSOUND_SetVolume(" + n(channel) + "," + n(volume) + ")");
    return result;
}
bool RecordingSoundLibrary::FSOUND_SetFrequency(int channel, int frequency) {
    note("FSOUND_SetFrequency(" + n(channel) + "," + n(frequency) + ")");
    return result;
}
bool RecordingSoundLibrary::FSOUND_SetPan(int channel, int pan) {
    note("FSOUND_SetPan(" + n(channel) + "," + n(pan) + ")");
    return result;
}
bool RecordingSoundLibrary::FSOUND_SetCurrentPosition(int channel, unsigned pos) {
    note("FSOUND_SetCurrentPosition(" + n(channel) + "," + n(pos) + ")");
    return channel != -1 && result;
}
unsigned RecordingSoundLibrary::FSOUND_GetCurrentPosition(int channel) {
    note("FSOUND_GetCurrentPosition(" + n(channel) + ")");
    return position;
}
bool RecordingSoundLibrary::FSOUND_SetLoopMode(int channel, unsigned mode) {
    note("FSOUND_SetLoopMode(" + n(channel) + "," + n(mode) + ")");
    return result;
}

}  // namespace qa::test
