// The sound library as a gMock mock: one MOCK_METHOD per operation, generated from one list of the
// interface's operations so the list is written once.
#pragma once

#include <gmock/gmock.h>

#include "platform/audio/SoundLibrary.h"

// Every operation of platform::audio::SoundLibrary: X(result, name, (parameter types)).
#define QA_SOUND_LIBRARY_OPERATIONS(X)                                                          \
    X(float, FSOUND_GetVersion, ())                                                             \
    X(bool, FSOUND_SetHWND, (void*))                                                            \
    X(bool, FSOUND_Init, (int, int, unsigned))                                                  \
    X(int, FSOUND_GetError, ())                                                                 \
    X(int, FSOUND_GetOutput, ())                                                                \
    X(platform::audio::ModuleHandle, FMUSIC_LoadSong, (const char*))                            \
    X(bool, FMUSIC_FreeSong, (platform::audio::ModuleHandle))                                   \
    X(bool, FMUSIC_PlaySong, (platform::audio::ModuleHandle))                                   \
    X(bool, FMUSIC_StopSong, (platform::audio::ModuleHandle))                                   \
    X(bool, FMUSIC_IsPlaying, (platform::audio::ModuleHandle))                                  \
    X(bool, FMUSIC_SetPaused, (platform::audio::ModuleHandle, bool))                            \
    X(bool, FMUSIC_GetPaused, (platform::audio::ModuleHandle))                                  \
    X(bool, FMUSIC_SetLooping, (platform::audio::ModuleHandle, bool))                           \
    X(bool, FMUSIC_SetMasterVolume, (platform::audio::ModuleHandle, int))                       \
    X(int, FMUSIC_GetMasterVolume, (platform::audio::ModuleHandle))                             \
    X(bool, FMUSIC_SetMasterSpeed, (platform::audio::ModuleHandle, float))                      \
    X(int, FMUSIC_GetNumOrders, (platform::audio::ModuleHandle))                                \
    X(int, FMUSIC_GetOrder, (platform::audio::ModuleHandle))                                    \
    X(bool, FMUSIC_SetOrder, (platform::audio::ModuleHandle, int))                              \
    X(int, FMUSIC_GetTime, (platform::audio::ModuleHandle))                                     \
    X(platform::audio::StreamHandle, FSOUND_Stream_OpenFile, (const char*, unsigned, int))      \
    X(bool, FSOUND_Stream_SetLoopCount, (platform::audio::StreamHandle, int))                   \
    X(bool, FSOUND_Stream_SetEndCallback,                                                       \
      (platform::audio::StreamHandle, platform::audio::StreamEndCallback, void*))               \
    X(int, FSOUND_Stream_Play, (int, platform::audio::StreamHandle))                            \
    X(bool, FSOUND_Stream_Stop, (platform::audio::StreamHandle))                                \
    X(bool, FSOUND_Stream_Close, (platform::audio::StreamHandle))                               \
    X(bool, FSOUND_Stream_SetPosition, (platform::audio::StreamHandle, unsigned))               \
    X(unsigned, FSOUND_Stream_GetPosition, (platform::audio::StreamHandle))                     \
    X(platform::audio::SampleHandle, FSOUND_Sample_Load, (int, const char*, unsigned, int))     \
    X(bool, FSOUND_Sample_GetDefaults, (platform::audio::SampleHandle, int*, int*, int*, int*)) \
    X(bool, FSOUND_Sample_SetMode, (platform::audio::SampleHandle, unsigned))                   \
    X(unsigned, FSOUND_Sample_GetLength, (platform::audio::SampleHandle))                       \
    X(bool, FSOUND_Sample_Free, (platform::audio::SampleHandle))                                \
    X(int, FSOUND_PlaySound, (int, platform::audio::SampleHandle))                              \
    X(bool, FSOUND_StopSound, (int))                                                            \
    X(bool, FSOUND_IsPlaying, (int))                                                            \
    X(bool, FSOUND_SetPaused, (int, bool))                                                      \
    X(bool, FSOUND_GetPaused, (int))                                                            \
    X(bool, FSOUND_SetVolume, (int, int))                                                       \
    X(bool, FSOUND_SetFrequency, (int, int))                                                    \
    X(bool, FSOUND_SetPan, (int, int))                                                          \
    X(bool, FSOUND_SetCurrentPosition, (int, unsigned))                                         \
    X(unsigned, FSOUND_GetCurrentPosition, (int))                                               \
    X(bool, FSOUND_SetLoopMode, (int, unsigned))

namespace qa::test {

class MockSoundLibrary : public platform::audio::SoundLibrary {
  public:
#define QA_MOCK_OPERATION(result, name, parameters) MOCK_METHOD(result, name, parameters, (override));
    QA_SOUND_LIBRARY_OPERATIONS(QA_MOCK_OPERATION)
#undef QA_MOCK_OPERATION
};

}  // namespace qa::test
