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

// A piece of music: a module or a stream (at most one of the two set); none when both are null.
struct MusicHandle {
    ModuleHandle module = nullptr;
    StreamHandle stream = nullptr;
};

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

// Every operation of the library, each named after the operation it stands for:
// X(result, name, (parameters)). The interface below, the library and test stand-ins declare
// their operations from this one list.
#define QA_SOUND_LIBRARY_OPERATIONS(X)                                                                    \
    /* start-up */                                                                                        \
    X(float, FSOUND_GetVersion, ())                                                                       \
    X(bool, FSOUND_SetHWND, (void* window))                                                               \
    X(bool, FSOUND_Init, (int mixRate, int softwareChannels, unsigned flags))                             \
    X(int, FSOUND_GetError, ())                                                                           \
    X(int, FSOUND_GetOutput, ())                                                                          \
    /* tracker modules; volume 0 to 256, speed 1.0 = normal, time in milliseconds since the start */      \
    X(ModuleHandle, FMUSIC_LoadSong, (const char* path))                                                  \
    X(bool, FMUSIC_FreeSong, (ModuleHandle module))                                                       \
    X(bool, FMUSIC_PlaySong, (ModuleHandle module))                                                       \
    X(bool, FMUSIC_StopSong, (ModuleHandle module))                                                       \
    X(bool, FMUSIC_IsPlaying, (ModuleHandle module))                                                      \
    X(bool, FMUSIC_SetPaused, (ModuleHandle module, bool paused))                                         \
    X(bool, FMUSIC_GetPaused, (ModuleHandle module))                                                      \
    X(bool, FMUSIC_SetLooping, (ModuleHandle module, bool looping))                                       \
    X(bool, FMUSIC_SetMasterVolume, (ModuleHandle module, int volume))                                    \
    X(int, FMUSIC_GetMasterVolume, (ModuleHandle module))                                                 \
    X(bool, FMUSIC_SetMasterSpeed, (ModuleHandle module, float speed))                                    \
    X(int, FMUSIC_GetNumOrders, (ModuleHandle module))                                                    \
    X(int, FMUSIC_GetOrder, (ModuleHandle module))                                                        \
    X(bool, FMUSIC_SetOrder, (ModuleHandle module, int order))                                            \
    X(int, FMUSIC_GetTime, (ModuleHandle module))                                                         \
    /* streams; length 0 is the whole file, positions in samples */                                       \
    X(StreamHandle, FSOUND_Stream_OpenFile, (const char* path, unsigned mode, int length))                \
    X(bool, FSOUND_Stream_SetLoopCount, (StreamHandle stream, int count))                                 \
    X(bool, FSOUND_Stream_SetEndCallback, (StreamHandle stream, StreamEndCallback callback, void* user))  \
    X(int, FSOUND_Stream_Play, (int channel, StreamHandle stream))                                        \
    X(bool, FSOUND_Stream_Stop, (StreamHandle stream))                                                    \
    X(bool, FSOUND_Stream_Close, (StreamHandle stream))                                                   \
    X(bool, FSOUND_Stream_SetPosition, (StreamHandle stream, unsigned position))                          \
    X(unsigned, FSOUND_Stream_GetPosition, (StreamHandle stream))                                         \
    /* samples; index -1 for any free slot, offset 0 (the file from its start), any out-pointer may be */ \
    /* null, length in samples */                                                                         \
    X(SampleHandle, FSOUND_Sample_Load, (int index, const char* path, unsigned mode, int offset))         \
    X(bool, FSOUND_Sample_GetDefaults,                                                                    \
      (SampleHandle sample, int* frequency, int* volume, int* pan, int* priority))                        \
    X(bool, FSOUND_Sample_SetMode, (SampleHandle sample, unsigned mode))                                  \
    X(unsigned, FSOUND_Sample_GetLength, (SampleHandle sample))                                           \
    X(bool, FSOUND_Sample_Free, (SampleHandle sample))                                                    \
    X(int, FSOUND_PlaySound, (int channel, SampleHandle sample))                                          \
    X(bool, FSOUND_StopSound, (int channel))                                                              \
    /* channels; IsPlaying is true playing, paused or not; volume 0 to 256; frequency in Hz; pan 0 */     \
    /* left, 128 centre, 255 right */                                                                     \
    X(bool, FSOUND_IsPlaying, (int channel))                                                              \
    X(bool, FSOUND_SetPaused, (int channel, bool paused))                                                 \
    X(bool, FSOUND_GetPaused, (int channel))                                                              \
    X(bool, FSOUND_SetVolume, (int channel, int volume))                                                  \
    X(bool, FSOUND_SetFrequency, (int channel, int frequency))                                            \
    X(bool, FSOUND_SetPan, (int channel, int pan))                                                        \
    X(bool, FSOUND_SetCurrentPosition, (int channel, unsigned position))                                  \
    X(unsigned, FSOUND_GetCurrentPosition, (int channel))                                                 \
    X(bool, FSOUND_SetLoopMode, (int channel, unsigned mode))                                             \
    /* music that follows: when `current` plays to its end, `next` starts at the sample after its last */ \
    /* (a module from its start, a stream from its start on a free channel at full volume, centred), */   \
    /* unless `next` is playing or paused then. Setting it again replaces it; what an earlier setting */  \
    /* started is stopped unless it is the new `current`. Followed: whether that happened to */           \
    /* `current` since it was set. */                                                                     \
    X(bool, Music_SetNext, (MusicHandle current, MusicHandle next))                                       \
    X(bool, Music_Followed, (MusicHandle current))                                                        \
    /* whether a file would load as a module (or as a stream), judged cheaply from its first bytes; */    \
    /* the error set as loading would set it when not */                                                  \
    X(bool, Music_Probe, (const char* path, bool stream))

class SoundLibrary {
  public:
    virtual ~SoundLibrary() = default;

#define QA_SOUND_LIBRARY_PURE(result, name, parameters) virtual result name parameters = 0;
    QA_SOUND_LIBRARY_OPERATIONS(QA_SOUND_LIBRARY_PURE)
#undef QA_SOUND_LIBRARY_PURE
};

}  // namespace qa::platform::audio
