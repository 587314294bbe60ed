// A sound library stand-in that records every call with its arguments ("FSOUND_SetVolume(7,128)")
// and answers with results a test sets. Handles print as M (module), T (stream), S (sample) or null.
#pragma once

#include <string>
#include <vector>

#include "platform/audio/SoundLibrary.h"

namespace qa::test {

class RecordingSoundLibrary : public platform::audio::SoundLibrary {
  public:
    static platform::audio::ModuleHandle module() {
        return reinterpret_cast<platform::audio::ModuleHandle>(0x1000);
    }
    static platform::audio::StreamHandle stream() {
        return reinterpret_cast<platform::audio::StreamHandle>(0x2000);
    }
    static platform::audio::SampleHandle sample() {
        return reinterpret_cast<platform::audio::SampleHandle>(0x3000);
    }

    // The calls so far, joined by ";", and forgotten.
    std::string take();

    // Results.
    float version = 3.63f;
    bool initResult = true;
    int error = 0;
    int output = 0;
    bool loadSucceeds = true;  // LoadSong, Stream_OpenFile, Sample_Load give the handle, else null
    bool result = true;        // every other truth-valued call
    bool isPlaying = false;    // FMUSIC_IsPlaying and FSOUND_IsPlaying
    bool paused = false;       // FMUSIC_GetPaused and FSOUND_GetPaused
    int masterVolume = 256;
    int orders = 10;
    int order = 0;
    int timeMs = 0;
    int playChannel = 7;          // FSOUND_Stream_Play and FSOUND_PlaySound
    unsigned position = 0;        // FSOUND_GetCurrentPosition
    unsigned streamPosition = 0;  // FSOUND_Stream_GetPosition
    unsigned length = 1000;       // FSOUND_Sample_GetLength
    int defaultFrequency = 22050;
    int defaultVolume = 255;
    int defaultPan = 128;

    // The end notification registered last.
    platform::audio::StreamEndCallback callback = nullptr;
    void* user = nullptr;

    float FSOUND_GetVersion() override;
    bool FSOUND_SetHWND(void* window) override;
    bool FSOUND_Init(int mixRate, int softwareChannels, unsigned flags) override;
    int FSOUND_GetError() override;
    int FSOUND_GetOutput() override;

    platform::audio::ModuleHandle FMUSIC_LoadSong(const char* path) override;
    bool FMUSIC_FreeSong(platform::audio::ModuleHandle m) override;
    bool FMUSIC_PlaySong(platform::audio::ModuleHandle m) override;
    bool FMUSIC_StopSong(platform::audio::ModuleHandle m) override;
    bool FMUSIC_IsPlaying(platform::audio::ModuleHandle m) override;
    bool FMUSIC_SetPaused(platform::audio::ModuleHandle m, bool p) override;
    bool FMUSIC_GetPaused(platform::audio::ModuleHandle m) override;
    bool FMUSIC_SetLooping(platform::audio::ModuleHandle m, bool looping) override;
    bool FMUSIC_SetMasterVolume(platform::audio::ModuleHandle m, int volume) override;
    int FMUSIC_GetMasterVolume(platform::audio::ModuleHandle m) override;
    bool FMUSIC_SetMasterSpeed(platform::audio::ModuleHandle m, float speed) override;
    int FMUSIC_GetNumOrders(platform::audio::ModuleHandle m) override;
    int FMUSIC_GetOrder(platform::audio::ModuleHandle m) override;
    bool FMUSIC_SetOrder(platform::audio::ModuleHandle m, int o) override;
    int FMUSIC_GetTime(platform::audio::ModuleHandle m) override;

    platform::audio::StreamHandle FSOUND_Stream_OpenFile(const char* path, unsigned mode, int len) override;
    bool FSOUND_Stream_SetLoopCount(platform::audio::StreamHandle s, int count) override;
    bool FSOUND_Stream_SetEndCallback(platform::audio::StreamHandle s, platform::audio::StreamEndCallback cb,
                                      void* u) override;
    int FSOUND_Stream_Play(int channel, platform::audio::StreamHandle s) override;
    bool FSOUND_Stream_Stop(platform::audio::StreamHandle s) override;
    bool FSOUND_Stream_Close(platform::audio::StreamHandle s) override;
    bool FSOUND_Stream_SetPosition(platform::audio::StreamHandle s, unsigned pos) override;
    unsigned FSOUND_Stream_GetPosition(platform::audio::StreamHandle s) override;

    platform::audio::SampleHandle FSOUND_Sample_Load(int index, const char* path, unsigned mode,
                                                     int offset) override;
    bool FSOUND_Sample_GetDefaults(platform::audio::SampleHandle s, int* frequency, int* volume, int* pan,
                                   int* priority) override;
    bool FSOUND_Sample_SetMode(platform::audio::SampleHandle s, unsigned mode) override;
    unsigned FSOUND_Sample_GetLength(platform::audio::SampleHandle s) override;
    bool FSOUND_Sample_Free(platform::audio::SampleHandle s) override;
    int FSOUND_PlaySound(int channel, platform::audio::SampleHandle s) override;
    bool FSOUND_StopSound(int channel) override;

    bool FSOUND_IsPlaying(int channel) override;
    bool FSOUND_SetPaused(int channel, bool p) override;
    bool FSOUND_GetPaused(int channel) override;
    bool FSOUND_SetVolume(int channel, int volume) override;
    bool FSOUND_SetFrequency(int channel, int frequency) override;
    bool FSOUND_SetPan(int channel, int pan) override;
    bool FSOUND_SetCurrentPosition(int channel, unsigned pos) override;
    unsigned FSOUND_GetCurrentPosition(int channel) override;
    bool FSOUND_SetLoopMode(int channel, unsigned mode) override;

  private:
    void note(const std::string& call);
    std::vector<std::string> calls_;
};

}  // namespace qa::test
