// The real sound library on generated sound, mixed through the pull output.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/audio/SoftwareSoundLibrary.h"
#include "support/AudioFixtures.h"
#include "support/ModWriter.h"
#include "support/TempDisk.h"

namespace qa::platform::audio {
namespace {

constexpr int kRate = 44100;

struct EndLog {
    int calls = 0;
    StreamHandle stream = nullptr;
    void* user = nullptr;
    static bool note(StreamHandle stream, void* data, int length, void* user) {
        auto* log = static_cast<EndLog*>(user);
        ++log->calls;
        log->stream = stream;
        log->user = user;
        return false;
    }
};

class SoftwareSoundLibraryTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(library.FSOUND_Init(kRate, 288, 2)); }

    std::vector<float> pull(std::size_t frames) {
        std::vector<float> v(frames * 2);
        library.pull(v.data(), frames);
        return v;
    }
    // A stereo WAV of exactly these frames.
    std::string wav(const std::string& name, const std::vector<float>& stereo, int rate = kRate) {
        EXPECT_TRUE(test::writeWav(name, stereo, rate, 2));
        return name;
    }

    test::TempDisk disk;
    SoftwareSoundLibrary library{OutputKind::Pull};
};

TEST_F(SoftwareSoundLibraryTest, StreamEndsAndNotifiesOnceAtItsLastFrame) {
    const std::size_t n = 10000;
    const std::vector<float> tone = test::sineFrames(441.0, kRate, n, 2, 0.5f);
    StreamHandle s = library.FSOUND_Stream_OpenFile(wav("tone.wav", tone).c_str(), kModeLoopOff, 0);
    ASSERT_NE(s, nullptr);
    EndLog log;
    library.FSOUND_Stream_SetLoopCount(s, 0);
    library.FSOUND_Stream_SetEndCallback(s, &EndLog::note, &log);
    const int ch = library.FSOUND_Stream_Play(kAnyChannel, s);
    ASSERT_NE(ch, -1);

    std::vector<float> out = pull(n - 1);
    EXPECT_EQ(log.calls, 0);
    EXPECT_TRUE(library.FSOUND_IsPlaying(ch));
    EXPECT_EQ(library.FSOUND_GetCurrentPosition(ch), n - 1);
    std::vector<float> last = pull(1);
    out.insert(out.end(), last.begin(), last.end());
    EXPECT_EQ(log.calls, 1);  // with the last frame, not a block later
    EXPECT_EQ(log.stream, s);
    EXPECT_EQ(log.user, &log);
    EXPECT_FALSE(library.FSOUND_IsPlaying(ch));
    EXPECT_EQ(library.FSOUND_Stream_GetPosition(s), n);
    // At the stream's own rate the frames pass through unchanged (but for 16-bit rounding).
    for (std::size_t i = 0; i < 2 * n; i += 97) ASSERT_NEAR(out[i], tone[i], 1.0 / 32768) << i;

    EXPECT_EQ(test::peak(pull(2000), 0), 0.0);
    EXPECT_EQ(log.calls, 1);

    // Played again, it starts from its beginning and ends (and notifies) again.
    ASSERT_NE(library.FSOUND_Stream_Play(kAnyChannel, s), -1);
    std::vector<float> again = pull(n);
    EXPECT_NEAR(again[2 * 1234], tone[2 * 1234], 1.0 / 32768);
    EXPECT_EQ(log.calls, 2);
    EXPECT_TRUE(library.FSOUND_Stream_Close(s));
}

TEST_F(SoftwareSoundLibraryTest, FormatComesFromTheContentNotTheName) {
    const std::size_t n = 22050;
    const std::vector<float> tone = test::sineFrames(440.0, kRate, n, 2, 0.5f);
    wav("source.wav", tone);
    ASSERT_TRUE(test::encodeOgg("source.wav", "vorbis.mp3"));
    ASSERT_TRUE(test::encodeMp3("source.wav", "mpeg.ogg"));
    wav("pcm.ogg", tone);
    disk.write("notes.mp3", "these are not sounds");

    for (const char* name : {"vorbis.mp3", "mpeg.ogg", "pcm.ogg"}) {
        StreamHandle s = library.FSOUND_Stream_OpenFile(name, kModeLoopOff, 0);
        ASSERT_NE(s, nullptr) << name;
        EndLog log;
        library.FSOUND_Stream_SetEndCallback(s, &EndLog::note, &log);
        library.FSOUND_Stream_Play(kAnyChannel, s);
        // Vorbis and gapless MPEG know their exact length, like PCM.
        const std::vector<float> out = pull(n - 1);
        EXPECT_EQ(log.calls, 0) << name;
        pull(1);
        EXPECT_EQ(log.calls, 1) << name;
        EXPECT_NEAR(test::toneFrequency(out, 0, kRate), 440.0, 0.5) << name;
        EXPECT_NEAR(test::rms(out, 1, 1000, n - 1000), 0.5 / std::sqrt(2.0), 0.02) << name;
        library.FSOUND_Stream_Close(s);
    }
    EXPECT_EQ(library.FSOUND_Stream_OpenFile("notes.mp3", kModeLoopOff, 0), nullptr);
    EXPECT_EQ(library.FSOUND_GetError(), kErrFileFormat);
    EXPECT_EQ(library.FSOUND_Stream_OpenFile("missing.ogg", kModeLoopOff, 0), nullptr);
    EXPECT_EQ(library.FSOUND_GetError(), kErrFileNotFound);
}

TEST_F(SoftwareSoundLibraryTest, PausedChannelResumesWhereItStopped) {
    // A ramp: every frame's value says where it came from.
    std::vector<float> ramp;
    for (int i = 0; i < 8000; ++i) ramp.insert(ramp.end(), {i / 32768.0f, i / 32768.0f});
    SampleHandle sample = library.FSOUND_Sample_Load(-1, wav("ramp.wav", ramp).c_str(), kModeLoopOff, 0);
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(library.FSOUND_Sample_GetLength(sample), 8000u);
    const int ch = library.FSOUND_PlaySound(kAnyChannel, sample);
    ASSERT_TRUE(library.FSOUND_SetVolume(ch, 256));

    pull(1000);
    ASSERT_TRUE(library.FSOUND_SetPaused(ch, true));
    EXPECT_TRUE(library.FSOUND_GetPaused(ch));
    EXPECT_TRUE(library.FSOUND_IsPlaying(ch));  // paused still counts as playing
    EXPECT_EQ(test::peak(pull(3000), 0), 0.0);
    EXPECT_EQ(library.FSOUND_GetCurrentPosition(ch), 1000u);
    ASSERT_TRUE(library.FSOUND_SetPaused(ch, false));
    std::vector<float> resumed = pull(10);
    EXPECT_FLOAT_EQ(resumed[0], 1000 / 32768.0f);
    EXPECT_FLOAT_EQ(resumed[18], 1009 / 32768.0f);

    ASSERT_TRUE(library.FSOUND_SetCurrentPosition(ch, 5000));
    EXPECT_FLOAT_EQ(pull(1)[0], 5000 / 32768.0f);
    EXPECT_FALSE(library.FSOUND_SetCurrentPosition(ch, 9000));  // beyond the end
}

TEST_F(SoftwareSoundLibraryTest, SpellingsOfOneFileShareItsSoundButEachSampleKeepsItsOwnMode) {
    std::vector<float> ramp;
    for (int i = 0; i < 8000; ++i) ramp.insert(ramp.end(), {i / 32768.0f, i / 32768.0f});
    wav("ramp.wav", ramp);
    SampleHandle once = library.FSOUND_Sample_Load(-1, "ramp.wav", kModeLoopOff, 0);
    SampleHandle looped = library.FSOUND_Sample_Load(-1, ".\\RAMP.WAV", kModeLoopOff, 0);
    ASSERT_NE(once, nullptr);
    ASSERT_NE(looped, nullptr);
    EXPECT_NE(once, looped);
    ASSERT_TRUE(library.FSOUND_Sample_SetMode(looped, kModeLoopNormal));
    const int a = library.FSOUND_PlaySound(kAnyChannel, once),
              b = library.FSOUND_PlaySound(kAnyChannel, looped);
    pull(8100);
    EXPECT_FALSE(library.FSOUND_IsPlaying(a));
    EXPECT_TRUE(library.FSOUND_IsPlaying(b));
    EXPECT_EQ(library.FSOUND_GetCurrentPosition(b), 100u);

    // Freeing one sample leaves the other playing; a file changed since is decoded anew, and the
    // sample still held keeps the sound it had.
    ASSERT_TRUE(library.FSOUND_Sample_Free(once));
    EXPECT_TRUE(library.FSOUND_IsPlaying(b));
    ramp.resize(2 * 3000);
    wav("ramp.wav", ramp);
    SampleHandle changed = library.FSOUND_Sample_Load(-1, "ramp.wav", kModeLoopOff, 0);
    EXPECT_EQ(library.FSOUND_Sample_GetLength(changed), 3000u);
    EXPECT_EQ(library.FSOUND_Sample_GetLength(looped), 8000u);
    ASSERT_TRUE(library.FSOUND_SetVolume(b, 256));
    EXPECT_FLOAT_EQ(pull(1)[0], 100 / 32768.0f);
}

TEST_F(SoftwareSoundLibraryTest, VolumeScalesAndPanMovesTheSignal) {
    const std::vector<float> tone = test::sineFrames(1000.0, kRate, 20000, 2, 0.8f);
    StreamHandle s = library.FSOUND_Stream_OpenFile(wav("tone.wav", tone).c_str(), kModeLoopOff, 0);
    const int ch = library.FSOUND_Stream_Play(kAnyChannel, s);
    const double full = test::rms(pull(4410), 0);
    EXPECT_NEAR(full, 0.8 / std::sqrt(2.0), 0.01);

    ASSERT_TRUE(library.FSOUND_SetVolume(ch, 128));
    std::vector<float> half = pull(4410);
    EXPECT_NEAR(test::rms(half, 0) / full, 0.5, 0.005);
    EXPECT_NEAR(test::rms(half, 1) / full, 0.5, 0.005);
    library.FSOUND_SetVolume(ch, 256);

    ASSERT_TRUE(library.FSOUND_SetPan(ch, 0));  // full left
    std::vector<float> left = pull(2205);
    EXPECT_NEAR(test::rms(left, 0), full, 0.01);
    EXPECT_LT(test::rms(left, 1), 1e-6);
    library.FSOUND_SetPan(ch, 255);  // full right
    std::vector<float> right = pull(2205);
    EXPECT_LT(test::rms(right, 0), 1e-6);
    EXPECT_NEAR(test::rms(right, 1), full, 0.01);
    library.FSOUND_SetPan(ch, 64);  // halfway to the left
    std::vector<float> between = pull(2205);
    EXPECT_NEAR(test::rms(between, 1) / test::rms(between, 0), 0.5, 0.02);
}

TEST_F(SoftwareSoundLibraryTest, OtherRatesPlayAtTheirPitchWithoutAliasing) {
    // 48 kHz: one second of 1000 Hz lasts one second at 44100 Hz and keeps its pitch.
    StreamHandle s = library.FSOUND_Stream_OpenFile(
        wav("48k.wav", test::sineFrames(1000.0, 48000, 48000, 2, 0.5f), 48000).c_str(), kModeLoopOff, 0);
    ASSERT_NE(s, nullptr);
    EndLog log;
    library.FSOUND_Stream_SetEndCallback(s, &EndLog::note, &log);
    library.FSOUND_Stream_Play(kAnyChannel, s);
    std::vector<float> out = pull(kRate - 512);
    EXPECT_NEAR(test::toneFrequency(out, 0, kRate), 1000.0, 0.2);
    EXPECT_NEAR(test::rms(out, 0, 2000, 40000), 0.5 / std::sqrt(2.0), 0.01);
    EXPECT_EQ(log.calls, 0);
    pull(1024);
    EXPECT_EQ(log.calls, 1);

    // A tone above the output's Nyquist frequency is filtered out, not folded back as a false tone.
    StreamHandle high = library.FSOUND_Stream_OpenFile(
        wav("high.wav", test::sineFrames(23500.0, 48000, 24000, 2, 0.5f), 48000).c_str(), kModeLoopOff, 0);
    library.FSOUND_Stream_Play(kAnyChannel, high);
    EXPECT_LT(test::rms(pull(20000), 0, 1000), 0.005);

    // A channel's rate doubles the pitch.
    SampleHandle sample = library.FSOUND_Sample_Load(
        -1, wav("1k.wav", test::sineFrames(1000.0, kRate, kRate, 2, 0.5f)).c_str(), kModeLoopOff, 0);
    int rate = 0;
    library.FSOUND_Sample_GetDefaults(sample, &rate, nullptr, nullptr, nullptr);
    EXPECT_EQ(rate, kRate);
    const int ch = library.FSOUND_PlaySound(kAnyChannel, sample);
    ASSERT_TRUE(library.FSOUND_SetFrequency(ch, 2 * kRate));
    EXPECT_NEAR(test::toneFrequency(pull(kRate / 4), 0, kRate), 2000.0, 1.0);
    EXPECT_FALSE(library.FSOUND_SetFrequency(ch, 0));
}

TEST_F(SoftwareSoundLibraryTest, ModulePlaysAndWithLoopingOffEnds) {
    const double seconds = test::ModWriter::toneSongSeconds(2, 8, 3);  // 0.96 s
    ASSERT_TRUE(test::ModWriter::toneSong(2, 8, 3).writeTo("song.mod"));
    ModuleHandle m = library.FMUSIC_LoadSong("song.mod");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(library.FMUSIC_GetNumOrders(m), 2);
    EXPECT_TRUE(library.FMUSIC_SetLooping(m, false));
    EXPECT_FALSE(library.FMUSIC_IsPlaying(m));
    ASSERT_TRUE(library.FMUSIC_PlaySong(m));

    std::vector<float> start = pull(kRate / 4);
    EXPECT_GT(test::rms(start, 0), 0.01);
    EXPECT_TRUE(library.FMUSIC_IsPlaying(m));
    EXPECT_EQ(library.FMUSIC_GetOrder(m), 0);
    pull(kRate / 2);
    EXPECT_EQ(library.FMUSIC_GetOrder(m), 1);
    EXPECT_NEAR(library.FMUSIC_GetTime(m), 750, 1);

    // libopenmpt lets the last notes ring for a tenth of a second after the song's end.
    std::vector<float> rest = pull(kRate);
    EXPECT_FALSE(library.FMUSIC_IsPlaying(m));
    const std::size_t endFrame = static_cast<std::size_t>((seconds + 0.1) * kRate) - 3 * kRate / 4;
    EXPECT_GT(test::peak(rest, 0, 0, endFrame - 2000), 0.1);
    EXPECT_EQ(test::peak(rest, 0, endFrame + 10), 0.0);  // silent once it ended
    EXPECT_NEAR(library.FMUSIC_GetTime(m), seconds * 1000 + 100, 10);

    // Played again it starts from its beginning; the master volume scales it.
    ASSERT_TRUE(library.FMUSIC_PlaySong(m));
    const double full = test::rms(pull(kRate / 4), 0);
    EXPECT_NEAR(full, test::rms(start, 0), 0.001);
    ASSERT_TRUE(library.FMUSIC_SetMasterVolume(m, 128));
    EXPECT_EQ(library.FMUSIC_GetMasterVolume(m), 128);
    EXPECT_NEAR(test::rms(pull(kRate / 8), 0) / full, 0.5, 0.05);

    // Paused, it holds; looping, it never ends.
    ASSERT_TRUE(library.FMUSIC_SetPaused(m, true));
    EXPECT_EQ(test::peak(pull(kRate), 0), 0.0);
    EXPECT_TRUE(library.FMUSIC_IsPlaying(m));
    library.FMUSIC_SetPaused(m, false);
    library.FMUSIC_SetLooping(m, true);
    pull(2 * kRate);
    EXPECT_TRUE(library.FMUSIC_IsPlaying(m));
    EXPECT_TRUE(library.FMUSIC_StopSong(m));
    EXPECT_FALSE(library.FMUSIC_IsPlaying(m));
    EXPECT_TRUE(library.FMUSIC_FreeSong(m));
    EXPECT_FALSE(library.FMUSIC_IsPlaying(m));
}

TEST_F(SoftwareSoundLibraryTest, ModuleMasterSpeedAndOrders) {
    ASSERT_TRUE(test::ModWriter::toneSong(4, 8, 3).writeTo("song.mod"));
    ModuleHandle m = library.FMUSIC_LoadSong("song.mod");
    library.FMUSIC_SetLooping(m, false);
    ASSERT_TRUE(library.FMUSIC_SetMasterSpeed(m, 2.0f));
    library.FMUSIC_PlaySong(m);
    pull(static_cast<std::size_t>((test::ModWriter::toneSongSeconds(4, 8, 3) / 2 + 0.2) * kRate));
    EXPECT_FALSE(library.FMUSIC_IsPlaying(m));  // twice as fast: done in half the time
    EXPECT_FALSE(library.FMUSIC_SetMasterSpeed(m, -1.0f));

    library.FMUSIC_SetMasterSpeed(m, 1.0f);
    library.FMUSIC_PlaySong(m);
    ASSERT_TRUE(library.FMUSIC_SetOrder(m, 3));
    pull(1024);
    EXPECT_EQ(library.FMUSIC_GetOrder(m), 3);
    EXPECT_FALSE(library.FMUSIC_SetOrder(m, 4));
}

TEST_F(SoftwareSoundLibraryTest, NullHandlesAndOldChannelNumbersFail) {
    EXPECT_GE(library.FSOUND_GetVersion(), 3.63f);
    EXPECT_EQ(library.FSOUND_GetOutput(), kOutputNoSound);
    EXPECT_FALSE(library.FMUSIC_PlaySong(nullptr));
    EXPECT_FALSE(library.FMUSIC_SetLooping(nullptr, false));
    EXPECT_FALSE(library.FMUSIC_IsPlaying(nullptr));
    EXPECT_EQ(library.FMUSIC_GetNumOrders(nullptr), 0);
    EXPECT_FALSE(library.FSOUND_Stream_Stop(nullptr));
    EXPECT_FALSE(library.FSOUND_Stream_SetPosition(nullptr, 0));
    EXPECT_EQ(library.FSOUND_Stream_Play(kAnyChannel, nullptr), -1);
    EXPECT_EQ(library.FSOUND_Sample_GetLength(nullptr), 0u);
    EXPECT_EQ(library.FSOUND_PlaySound(kAnyChannel, nullptr), -1);
    EXPECT_FALSE(library.FSOUND_StopSound(-1));
    EXPECT_FALSE(library.FSOUND_SetCurrentPosition(-1, 0));
    EXPECT_EQ(library.FSOUND_GetError(), kErrInvalidParameter);
    EXPECT_FALSE(library.FSOUND_IsPlaying(-1));
    EXPECT_FALSE(library.FSOUND_SetPaused(-1, true));

    // A finished sound's channel number does not reach the sound that took its channel next.
    SampleHandle click = library.FSOUND_Sample_Load(
        -1, wav("click.wav", test::sineFrames(500, kRate, 100, 2, 0.5f)).c_str(), kModeLoopOff, 0);
    const int first = library.FSOUND_PlaySound(kAnyChannel, click);
    pull(200);
    EXPECT_FALSE(library.FSOUND_IsPlaying(first));
    const int second = library.FSOUND_PlaySound(kAnyChannel, click);
    EXPECT_NE(second, first);
    EXPECT_FALSE(library.FSOUND_SetPaused(first, true));
    EXPECT_FALSE(library.FSOUND_GetPaused(second));
    EXPECT_TRUE(library.FSOUND_Sample_Free(click));
    EXPECT_FALSE(library.FSOUND_IsPlaying(second));  // freeing a sample stops its channels
    EXPECT_FALSE(library.FSOUND_Sample_Free(click));
}

// A track played the way the track list's players do it: the main thread plays the stream and then
// sets `started`; the end notification clears it. `onEnd` runs inside the notification first.
struct Track {
    SoftwareSoundLibrary& library;
    StreamHandle stream = nullptr;
    std::atomic<bool> started{false};
    std::atomic<int> ends{0};
    std::function<void()> onEnd = {};

    void play() {
        library.FSOUND_Stream_Play(kAnyChannel, stream);
        started = true;
    }
    static bool ended(StreamHandle, void*, int, void* user) {
        auto* track = static_cast<Track*>(user);
        ++track->ends;
        if (track->onEnd) track->onEnd();
        track->started = false;
        return false;
    }
};

// Runs `work` on a thread of its own (the main loop, while the test thread mixes) and waits for it
// at most `patience`; true when it finished in that time.
bool runElsewhere(std::thread& thread, std::function<void()> work, std::chrono::milliseconds patience) {
    std::promise<void> finished;
    std::future<void> done = finished.get_future();
    thread = std::thread([work = std::move(work), finished = std::move(finished)]() mutable {
        work();
        finished.set_value();
    });
    return done.wait_for(patience) == std::future_status::ready;
}

TEST_F(SoftwareSoundLibraryTest, PlayDuringTheEndNotificationIsNotUndoneByIt) {
    const std::size_t n = 1000;
    Track track{library};
    track.stream = library.FSOUND_Stream_OpenFile(
        wav("a.wav", test::sineFrames(441.0, kRate, n, 2, 0.5f)).c_str(), kModeLoopOff, 0);
    ASSERT_NE(track.stream, nullptr);
    library.FSOUND_Stream_SetEndCallback(track.stream, &Track::ended, &track);
    track.play();

    // The main loop plays the track again while the notification of its first play is under way.
    std::thread mainLoop;
    bool playReturnedEarly = false;
    track.onEnd = [&, first = true]() mutable {
        if (!std::exchange(first, false)) return;
        playReturnedEarly = runElsewhere(
            mainLoop, [&] { track.play(); }, std::chrono::milliseconds(300));
    };
    pull(n);
    mainLoop.join();
    EXPECT_FALSE(playReturnedEarly);  // it waited for the notification to finish
    EXPECT_EQ(track.ends, 1);
    EXPECT_TRUE(track.started);
    EXPECT_NE(test::peak(pull(n / 2), 0), 0.0);  // the second play sounds
    pull(n / 2);
    EXPECT_EQ(track.ends, 2);
    EXPECT_FALSE(track.started);
    EXPECT_TRUE(library.FSOUND_Stream_Close(track.stream));
}

TEST_F(SoftwareSoundLibraryTest, NotificationOfAnEarlierPlayIsNotCalled) {
    // Two tracks end in the same block; while the first one's notification runs, the main loop
    // plays the second again. The second's notification belongs to the play that ended: dropped.
    const std::size_t n = 1000;
    const std::string tone = wav("a.wav", test::sineFrames(441.0, kRate, n, 2, 0.5f));
    Track first{library}, second{library};
    for (Track* t : {&first, &second}) {
        t->stream = library.FSOUND_Stream_OpenFile(tone.c_str(), kModeLoopOff, 0);
        ASSERT_NE(t->stream, nullptr);
        library.FSOUND_Stream_SetEndCallback(t->stream, &Track::ended, t);
        t->play();
    }
    std::thread mainLoop;
    bool played = false;
    first.onEnd = [&] {
        played = runElsewhere(
            mainLoop, [&] { second.play(); }, std::chrono::seconds(10));
    };
    pull(n);
    mainLoop.join();
    ASSERT_TRUE(played);
    EXPECT_EQ(first.ends, 1);
    EXPECT_EQ(second.ends, 0);
    EXPECT_TRUE(second.started);
    pull(n);
    EXPECT_EQ(second.ends, 1);  // its new play ends and notifies as usual
    EXPECT_FALSE(second.started);
}

TEST(SoftwareSoundLibraryStartUp, LoadingBeforeInitialisationFails) {
    test::TempDisk disk;
    ASSERT_TRUE(test::writeWav("a.wav", test::sineFrames(500, kRate, 100, 2, 0.5f), kRate, 2));
    ASSERT_TRUE(test::ModWriter::toneSong(1, 4, 1).writeTo("a.mod"));
    SoftwareSoundLibrary library(OutputKind::Pull);
    EXPECT_EQ(library.FSOUND_Sample_Load(-1, "a.wav", kModeLoopOff, 0), nullptr);
    EXPECT_EQ(library.FSOUND_GetError(), kErrNotInitialised);
    EXPECT_EQ(library.FSOUND_Stream_OpenFile("a.wav", kModeLoopOff, 0), nullptr);
    EXPECT_EQ(library.FMUSIC_LoadSong("a.mod"), nullptr);
    EXPECT_EQ(library.FSOUND_GetError(), kErrNotInitialised);
    std::vector<float> silence(200, 1.0f);
    library.pull(silence.data(), 100);
    EXPECT_EQ(test::peak(silence, 0), 0.0);

    EXPECT_TRUE(library.FSOUND_SetHWND(&disk));
    EXPECT_TRUE(library.FSOUND_Init(kRate, 288, 2));
    EXPECT_FALSE(library.FSOUND_SetHWND(&disk));
    EXPECT_FALSE(library.FSOUND_Init(kRate, 288, 2));
    EXPECT_EQ(library.FSOUND_GetError(), kErrAfterInit);
    EXPECT_NE(library.FMUSIC_LoadSong("a.mod"), nullptr);
    // A file that is no module.
    EXPECT_EQ(library.FMUSIC_LoadSong("a.wav"), nullptr);
    EXPECT_EQ(library.FSOUND_GetError(), kErrFileFormat);
}

}  // namespace
}  // namespace qa::platform::audio
