// The sound library's parts on their own: handle numbering across kinds, and an output that does
// not start.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/audio/HandleTable.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "support/AudioFixtures.h"
#include "support/TempDisk.h"

namespace qa::platform::audio {
namespace {

using Streams = HandleTable<int, StreamHandle>;
using Samples = HandleTable<int, SampleHandle>;

TEST(HandleTable, NumbersAreSharedAcrossKindsAndNeverGivenTwice) {
    std::uintptr_t lastId = 0;
    Streams streams(lastId);
    Samples samples(lastId);
    const StreamHandle a = streams.add(std::make_shared<int>(1));
    const SampleHandle b = samples.add(std::make_shared<int>(2));
    EXPECT_NE(Streams::idOf(a), Samples::idOf(b));
    EXPECT_NE(a, nullptr);
    // A number of one kind names nothing in the other.
    EXPECT_EQ(streams.find(Samples::idOf(b)), nullptr);
    EXPECT_EQ(*samples.find(b), 2);

    const std::shared_ptr<int> taken = streams.take(a);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, 1);
    EXPECT_EQ(streams.find(a), nullptr);
    EXPECT_EQ(streams.take(a), nullptr);
    EXPECT_EQ(streams.find(StreamHandle{}), nullptr);
    // The freed number is not given to the next object.
    const StreamHandle c = streams.add(std::make_shared<int>(3));
    EXPECT_NE(c, a);
    EXPECT_NE(Streams::idOf(c), Samples::idOf(b));
}

// A factory whose outputs never start, as when every sound output is refused.
class RefusingOutputs : public OutputFactory {
  public:
    RefusingOutputs() : OutputFactory(OutputKind::Pull) {}
    std::unique_ptr<Output> start(RenderSource&, int) override {
        ++tries;
        return nullptr;
    }
    int tries = 0;
};

TEST(OutputFactory, AnOutputThatDoesNotStartLeavesTheLibraryUninitialised) {
    test::TempDisk disk;
    ASSERT_TRUE(test::writeWav("a.wav", test::sineFrames(500, 44100, 100, 2, 0.5f), 44100, 2));
    auto factory = std::make_unique<RefusingOutputs>();
    RefusingOutputs& outputs = *factory;
    SoftwareSoundLibrary library(std::move(factory));
    EXPECT_FALSE(library.FSOUND_Init(44100, 32, 0));
    EXPECT_EQ(library.FSOUND_GetError(), kErrOutputInit);
    EXPECT_EQ(library.FSOUND_GetOutput(), kOutputNoSound);
    EXPECT_EQ(library.FSOUND_Stream_OpenFile("a.wav", kModeLoopOff, 0), nullptr);
    EXPECT_EQ(library.FSOUND_GetError(), kErrNotInitialised);
    EXPECT_FALSE(library.FSOUND_IsPlaying(0));
    std::vector<float> silence(200, 1.0f);
    library.pull(silence.data(), 100);
    EXPECT_EQ(test::peak(silence, 0), 0.0);
    // Not "already initialised": a later try asks the factory again.
    EXPECT_FALSE(library.FSOUND_Init(44100, 32, 0));
    EXPECT_EQ(library.FSOUND_GetError(), kErrOutputInit);
    EXPECT_EQ(outputs.tries, 2);
}

}  // namespace
}  // namespace qa::platform::audio
