// The players over the real sound library, mixed in virtual time: what the track list and the
// sound-effect commands rely on.
#include <gtest/gtest.h>

#include <vector>

#include "platform/audio/SoftwareSoundLibrary.h"
#include "sound/MusicPlayer.h"
#include "sound/SamplePlayer.h"
#include "sound/StreamPlayer.h"
#include "support/AudioFixtures.h"
#include "support/ModWriter.h"
#include "support/TempDisk.h"

namespace qa::sound {
namespace {

constexpr int kRate = 44100;

class PlayersOnMixerTest : public testing::Test {
  protected:
    void SetUp() override {
        testing::internal::CaptureStdout();
        ASSERT_TRUE(library.FSOUND_Init(kRate, 288, 2));
    }
    void TearDown() override { testing::internal::GetCapturedStdout(); }
    std::vector<float> pull(std::size_t frames) {
        std::vector<float> v(frames * 2);
        library.pull(v.data(), frames);
        return v;
    }

    test::TempDisk disk;
    platform::audio::SoftwareSoundLibrary library{platform::audio::OutputKind::Pull};
};

TEST_F(PlayersOnMixerTest, TrackEndsThenPlaysAgainFromItsStart) {
    ASSERT_TRUE(test::writeWav("data/a.wav", test::sineFrames(440, kRate, kRate / 5, 2, 0.5f), kRate, 2));
    StreamPlayer track(library, ".\\data\\A.WAV");  // written as a Windows program writes it
    ASSERT_TRUE(track.IsLoaded());
    track.SetLoop(false);
    ASSERT_TRUE(track.Play(true));
    pull(kRate / 10);
    EXPECT_TRUE(track.IsPlaying());
    EXPECT_NEAR(track.GetTime(), 0.1f, 0.001f);
    EXPECT_TRUE(track.Play(false));  // paused where it is
    EXPECT_FALSE(track.IsPlaying());
    EXPECT_EQ(test::peak(pull(kRate), 0), 0.0);
    EXPECT_TRUE(track.Play(true));
    EXPECT_GT(test::peak(pull(kRate / 20), 0), 0.4);
    pull(kRate / 10);
    EXPECT_FALSE(track.IsPlaying());  // the end notification cleared `started`

    ASSERT_TRUE(track.Play(true));  // a finished track starts anew on a new channel
    EXPECT_TRUE(track.IsPlaying());
    EXPECT_GT(test::peak(pull(kRate / 20), 0), 0.4);
    EXPECT_NEAR(track.GetTime(), 0.05f, 0.001f);

    // Rewinding as PlayTrack does: back to the start while paused, then resumed.
    track.Play(false);
    ASSERT_TRUE(track.SetPosition(0.0f));
    ASSERT_TRUE(track.Play(true));
    EXPECT_NEAR(track.GetTime(), 0.0f, 0.001f);
}

TEST_F(PlayersOnMixerTest, LoopingTrackGoesOnAfterItsEnd) {
    ASSERT_TRUE(test::writeWav("a.wav", test::sineFrames(440, kRate, kRate / 10, 2, 0.5f), kRate, 2));
    StreamPlayer track(library, "a.wav");
    ASSERT_TRUE(track.GetLoop());
    track.Play(true);
    pull(kRate / 5);
    // The notification restarted it, then cleared the flag as it always does.
    EXPECT_GT(test::peak(pull(kRate / 50), 0), 0.4);
    EXPECT_FALSE(track.IsPlaying());
}

TEST_F(PlayersOnMixerTest, EffectReplaysOnItsChannelOrOnANewOne) {
    ASSERT_TRUE(test::writeWav("click.wav", test::sineFrames(440, 22050, 2205, 1, 0.5f), 22050, 1));
    SamplePlayer click(library, "click.wav");
    ASSERT_TRUE(click.IsLoaded());
    click.SetLoop(false);
    ASSERT_TRUE(click.Play(true));
    pull(kRate / 20);
    EXPECT_NEAR(click.GetTime(), 0.05f, 0.003f);  // in seconds of the sample's own rate
    EXPECT_TRUE(click.IsPlaying());

    // Still playing: rewound on the same channel.
    EXPECT_TRUE(click.SetPosition(0.0f));
    EXPECT_TRUE(click.Play(true));
    EXPECT_NEAR(click.GetTime(), 0.0f, 0.003f);

    // Finished: the old channel is gone and Play takes a new one.
    pull(kRate / 5);
    EXPECT_FALSE(click.SetPosition(0.0f));
    EXPECT_TRUE(click.Play(true));
    EXPECT_GT(test::peak(pull(kRate / 50), 0), 0.3);
}

TEST_F(PlayersOnMixerTest, ModuleTrackEndsWithLoopingOff) {
    ASSERT_TRUE(test::ModWriter::toneSong(1, 8, 2).writeTo("song.mod"));  // 0.32 s
    MusicPlayer song(library, "song.mod");
    ASSERT_TRUE(song.IsLoaded());
    EXPECT_FLOAT_EQ(song.GetVolume(), 0.75f);
    song.SetLoop(false);
    ASSERT_TRUE(song.Play(true));
    pull(kRate / 10);
    EXPECT_TRUE(song.IsPlaying());
    EXPECT_FLOAT_EQ(song.GetPosition(), 0.0f);
    pull(kRate / 2);
    EXPECT_FALSE(song.IsPlaying());
    ASSERT_TRUE(song.Play(true));
    EXPECT_TRUE(song.IsPlaying());
    EXPECT_GT(test::peak(pull(kRate / 10), 0), 0.05);
}

}  // namespace
}  // namespace qa::sound
