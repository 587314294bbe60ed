// The outputs that play in real time: sound still ends on time without a sound card, and a stall
// of the main thread starves neither of them.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/audio/SoftwareSoundLibrary.h"
#include "support/AudioFixtures.h"
#include "support/ModWriter.h"
#include "support/TempDisk.h"

namespace qa::platform::audio {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int> endings{0};
bool noteEnd(StreamHandle, void*, int, void*) {
    endings.fetch_add(1);
    return false;
}

// Plays 0.3 s of silence, stalls the calling thread for 200 ms, and measures when the end arrives.
double playAndStall(SoftwareSoundLibrary& library) {
    endings = 0;
    StreamHandle s = library.FSOUND_Stream_OpenFile("quiet.wav", kModeLoopOff, 0);
    EXPECT_NE(s, nullptr);
    library.FSOUND_Stream_SetEndCallback(s, &noteEnd, nullptr);
    const Clock::time_point start = Clock::now();
    EXPECT_NE(library.FSOUND_Stream_Play(kAnyChannel, s), -1);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    while (endings.load() == 0 && Clock::now() - start < std::chrono::seconds(5))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ(endings.load(), 1);
    library.FSOUND_Stream_Close(s);
    return seconds;
}

TEST(RealTimeOutput, NoSoundOutputEndsTracksOnTimeWithoutUnderruns) {
    test::TempDisk disk;
    ASSERT_TRUE(test::writeWav("quiet.wav", std::vector<float>(2 * 13230, 0.0f), 44100, 2));
    SoftwareSoundLibrary library(OutputKind::NoSound);
    ASSERT_TRUE(library.FSOUND_Init(44100, 288, 2));
    EXPECT_EQ(library.FSOUND_GetOutput(), kOutputNoSound);
    const double seconds = playAndStall(library);
    // Mixed a little ahead of the clock, never behind it by much.
    EXPECT_GT(seconds, 0.15);
    EXPECT_LT(seconds, 1.5);
    EXPECT_EQ(library.underruns(), 0u);
}

TEST(RealTimeOutput, SdlDeviceOutputPlaysThroughItsCallback) {
    test::TempDisk disk;
    ASSERT_TRUE(test::writeWav("quiet.wav", std::vector<float>(2 * 13230, 0.0f), 44100, 2));
    // SDL's dummy driver opens a device that consumes in real time without a sound card.
    const char* before = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = before ? before : "";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        SoftwareSoundLibrary library(OutputKind::Device);
        ASSERT_TRUE(library.FSOUND_Init(44100, 288, 2));
        EXPECT_EQ(library.FSOUND_GetOutput(), kOutputNoSound);  // the dummy driver is heard by no one
        const double seconds = playAndStall(library);
        EXPECT_GT(seconds, 0.15);
        EXPECT_LT(seconds, 1.5);
    }
    if (before)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

// A stream decoded on the mix thread (Ogg) and a module play while the main thread is stalled for
// 200 ms: first busy computing, then loading a long sample (whose decoding takes the library's lock
// only to file the result). Both go on at the pace of the clock, and the output never waits for
// sound.
TEST(RealTimeOutput, MusicGoesOnWhileTheMainThreadIsBusyOrLoading) {
    test::TempDisk disk;
    ASSERT_TRUE(test::writeWav("tone.wav", test::sineFrames(440, 44100, 3 * 44100, 2, 0.5f), 44100, 2));
    ASSERT_TRUE(test::encodeOgg("tone.wav", "tone.ogg"));
    ASSERT_TRUE(test::writeWav("long.wav", test::sineFrames(220, 44100, 60 * 44100, 2, 0.5f), 44100, 2));
    ASSERT_TRUE(test::encodeOgg("long.wav", "long.ogg"));                  // decoding it whole takes a while
    ASSERT_TRUE(test::ModWriter::toneSong(8, 16, 6).writeTo("song.mod"));  // about 15 s
    SoftwareSoundLibrary library(OutputKind::NoSound);
    ASSERT_TRUE(library.FSOUND_Init(44100, 32, 0));
    StreamHandle stream = library.FSOUND_Stream_OpenFile("tone.ogg", kModeLoopNormal, 0);
    ModuleHandle song = library.FMUSIC_LoadSong("song.mod");
    ASSERT_NE(stream, nullptr);
    ASSERT_NE(song, nullptr);
    const int channel = library.FSOUND_Stream_Play(kAnyChannel, stream);
    ASSERT_NE(channel, -1);
    ASSERT_TRUE(library.FMUSIC_PlaySong(song));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));

    const Clock::time_point start = Clock::now();
    const unsigned streamBefore = library.FSOUND_Stream_GetPosition(stream);
    const int songBefore = library.FMUSIC_GetTime(song);
    volatile double sink = 0;
    while (Clock::now() - start < std::chrono::milliseconds(200)) sink = sink + 1.0;
    SampleHandle sample = library.FSOUND_Sample_Load(-1, "long.ogg", kModeLoopOff, 0);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(library.FSOUND_Sample_GetLength(sample), 60u * 44100u);
    const double stalled = std::chrono::duration<double>(Clock::now() - start).count();
    const double streamMoved = (library.FSOUND_Stream_GetPosition(stream) - streamBefore) / 44100.0;
    const double songMoved = (library.FMUSIC_GetTime(song) - songBefore) / 1000.0;

    // Mixed ahead of the clock by less than the output's ring, never behind it.
    EXPECT_NEAR(streamMoved, stalled, 0.15) << "stalled " << stalled;
    EXPECT_NEAR(songMoved, stalled, 0.15) << "stalled " << stalled;
    EXPECT_TRUE(library.FMUSIC_IsPlaying(song));
    EXPECT_TRUE(library.FSOUND_IsPlaying(channel));
    EXPECT_EQ(library.underruns(), 0u);
    library.FSOUND_Sample_Free(sample);
    library.FSOUND_Stream_Close(stream);
    library.FMUSIC_FreeSong(song);
}

}  // namespace
}  // namespace qa::platform::audio
