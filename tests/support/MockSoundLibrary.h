// The sound library as a gMock mock: one MOCK_METHOD per operation, generated from the interface's
// list of operations.
#pragma once

#include <gmock/gmock.h>

#include "platform/audio/SoundLibrary.h"

namespace qa::test {

class MockSoundLibrary : public platform::audio::SoundLibrary {
  public:
    using ModuleHandle = platform::audio::ModuleHandle;
    using StreamHandle = platform::audio::StreamHandle;
    using SampleHandle = platform::audio::SampleHandle;
    using MusicHandle = platform::audio::MusicHandle;
    using StreamEndCallback = platform::audio::StreamEndCallback;

#define QA_MOCK_OPERATION(result, name, parameters) MOCK_METHOD(result, name, parameters, (override));
    QA_SOUND_LIBRARY_OPERATIONS(QA_MOCK_OPERATION)
#undef QA_MOCK_OPERATION
};

}  // namespace qa::test
