// The sound library operations the sound system and its players call: start-up, tracker modules,
// streams, samples and channels, each named after the operation it stands for.
#pragma once

#include <cstdint>

#include "platform/audio/SoundError.h"

namespace qa::platform::audio {

// Opaque handles; null means "none". The values are never dereferenced by callers.
struct ModuleObject;
struct StreamObject;
struct SampleObject;
using ModuleHandle = ModuleObject*;
using StreamHandle = StreamObject*;
using SampleHandle = SampleObject*;

// The end-of-stream notification: the stream, a data pointer (null), a length (0) and the user value
// given at registration. Its result is ignored.
using StreamEndCallback = bool (*)(StreamHandle stream, void* data, int length, void* user);

// Output-method numbers reported by FSOUND_GetOutput.
enum OutputMethod : int {
    kOutputNoSound = 0,
    kOutputWaveOut = 1,
    kOutputDirect = 2,
    kOutputOss = 4,
    kOutputSoundServer = 5,
    kOutputAlsa = 6,
    kOutputAsio = 7,
};

// Looping modes for streams, samples and channels.
constexpr unsigned kModeLoopOff = 1;
constexpr unsigned kModeLoopNormal = 2;
// Channel -1 in a play call: any free channel.
constexpr int kAnyChannel = -1;

class SoundLibrary {
  public:
    virtual ~SoundLibrary() = default;

    // --- start-up ---
    virtual float FSOUND_GetVersion() = 0;
    virtual bool FSOUND_SetHWND(void* window) = 0;
    virtual bool FSOUND_Init(int mixRate, int softwareChannels, unsigned flags) = 0;
    virtual int FSOUND_GetError() = 0;
    virtual int FSOUND_GetOutput() = 0;

    // --- tracker modules ---
    virtual ModuleHandle FMUSIC_LoadSong(const char* path) = 0;
    virtual bool FMUSIC_FreeSong(ModuleHandle module) = 0;
    virtual bool FMUSIC_PlaySong(ModuleHandle module) = 0;
    virtual bool FMUSIC_StopSong(ModuleHandle module) = 0;
    virtual bool FMUSIC_IsPlaying(ModuleHandle module) = 0;
    virtual bool FMUSIC_SetPaused(ModuleHandle module, bool paused) = 0;
    virtual bool FMUSIC_GetPaused(ModuleHandle module) = 0;
    virtual bool FMUSIC_SetLooping(ModuleHandle module, bool looping) = 0;
    virtual bool FMUSIC_SetMasterVolume(ModuleHandle module, int volume) = 0;  // 0 to 256
    virtual int FMUSIC_GetMasterVolume(ModuleHandle module) = 0;
    virtual bool FMUSIC_SetMasterSpeed(ModuleHandle module, float speed) = 0;  // 1.0 = normal
    virtual int FMUSIC_GetNumOrders(ModuleHandle module) = 0;
    virtual int FMUSIC_GetOrder(ModuleHandle module) = 0;
    virtual bool FMUSIC_SetOrder(ModuleHandle module, int order) = 0;
    virtual int FMUSIC_GetTime(ModuleHandle module) = 0;  // milliseconds since the song was started

    // --- streams ---
    // length: 0 (the whole file).
    virtual StreamHandle FSOUND_Stream_OpenFile(const char* path, unsigned mode, int length) = 0;
    virtual bool FSOUND_Stream_SetLoopCount(StreamHandle stream, int count) = 0;
    virtual bool FSOUND_Stream_SetEndCallback(StreamHandle stream, StreamEndCallback callback,
                                              void* user) = 0;
    virtual int FSOUND_Stream_Play(int channel, StreamHandle stream) = 0;
    virtual bool FSOUND_Stream_Stop(StreamHandle stream) = 0;
    virtual bool FSOUND_Stream_Close(StreamHandle stream) = 0;
    virtual bool FSOUND_Stream_SetPosition(StreamHandle stream, unsigned position) = 0;  // in samples
    virtual unsigned FSOUND_Stream_GetPosition(StreamHandle stream) = 0;

    // --- samples ---
    // index: -1 for any free slot; offset: 0 (the file from its start).
    virtual SampleHandle FSOUND_Sample_Load(int index, const char* path, unsigned mode, int offset) = 0;
    // Any out-pointer may be null.
    virtual bool FSOUND_Sample_GetDefaults(SampleHandle sample, int* frequency, int* volume, int* pan,
                                           int* priority) = 0;
    virtual bool FSOUND_Sample_SetMode(SampleHandle sample, unsigned mode) = 0;
    virtual unsigned FSOUND_Sample_GetLength(SampleHandle sample) = 0;  // in samples
    virtual bool FSOUND_Sample_Free(SampleHandle sample) = 0;
    virtual int FSOUND_PlaySound(int channel, SampleHandle sample) = 0;
    virtual bool FSOUND_StopSound(int channel) = 0;

    // --- channels ---
    virtual bool FSOUND_IsPlaying(int channel) = 0;  // playing, paused or not
    virtual bool FSOUND_SetPaused(int channel, bool paused) = 0;
    virtual bool FSOUND_GetPaused(int channel) = 0;
    virtual bool FSOUND_SetVolume(int channel, int volume) = 0;        // 0 to 256
    virtual bool FSOUND_SetFrequency(int channel, int frequency) = 0;  // in Hz
    virtual bool FSOUND_SetPan(int channel, int pan) = 0;              // 0 left, 128 centre, 255 right
    virtual bool FSOUND_SetCurrentPosition(int channel, unsigned position) = 0;
    virtual unsigned FSOUND_GetCurrentPosition(int channel) = 0;
    virtual bool FSOUND_SetLoopMode(int channel, unsigned mode) = 0;
};

}  // namespace qa::platform::audio
