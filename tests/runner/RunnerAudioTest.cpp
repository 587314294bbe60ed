// The runner's sound in virtual time: exactly a frame's share of mix per frame, into a WAV file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/audio/decoders/DecoderFactory.h"
#include "support/TempDisk.h"

namespace qa::platform::audio {
namespace {

TEST(RunnerAudio, WritesExactlyTheFramesOfVirtualTime) {
    test::TempDisk disk;
    const std::string wav = (disk.root() / "out.wav").string();
    const std::string cmd = std::string(QA_RUNNER_EXE) + " '" + QA_TEST_SCENES +
                            "/basic' --frames 25 --frame-ms 17 --audio '" + wav + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    int error = 0;
    std::unique_ptr<Decoder> d = DecoderFactory::open(wav, error);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->rate(), 44100);
    EXPECT_EQ(d->channels(), 2);
    EXPECT_EQ(d->length(), 25u * 17 * 44100 / 1000);  // 18742.5 frames, whole frames only

    // With sound off the file is still written, silent.
    const std::string off = std::string(QA_RUNNER_EXE) + " '" + QA_TEST_SCENES +
                            "/basic' --frames 3 --sound off --audio '" + wav + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(off.c_str()), 0);
    d = DecoderFactory::open(wav, error);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->length(), 3u * 16 * 44100 / 1000);
}

}  // namespace
}  // namespace qa::platform::audio
