// The mock sound library set up to record every call with its arguments ("FSOUND_SetVolume(7,128)")
// and to answer what a test sets per operation. Handles print as M (module), T (stream), S (sample)
// or null; other pointers as & or null.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/MockSoundLibrary.h"

namespace qa::test {

class RecordingSoundLibrary : public testing::NiceMock<MockSoundLibrary> {
  public:
    RecordingSoundLibrary();

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
    // Whether the call ("FSOUND_SetPaused(7,0)") was made since the calls were last taken, in any
    // order among the others; how many calls of an operation ("FSOUND_Stream_Play") were.
    bool made(const std::string& call) const;
    int count(const std::string& operation) const;

    // What an operation answers from now on; for a load, 0 gives the null handle. Unset, truth-valued
    // operations and loads succeed (playing and paused are false) and numbers are 0, except the version
    // (3.63), the master volume (256), the number of orders (10), the channel a play gets (7) and a sample's
    // length (1000). Stopping or positioning channel -1 always fails.
    void answer(const std::string& operation, double value) { answers_[operation] = value; }

    // What FSOUND_Sample_GetDefaults writes.
    int defaultFrequency = 22050;
    int defaultVolume = 255;
    int defaultPan = 128;

    // The end notification registered last.
    platform::audio::StreamEndCallback callback = nullptr;
    void* user = nullptr;

  private:
    class Record;
    std::map<std::string, double> answers_;
    std::vector<std::string> calls_;
};

}  // namespace qa::test
