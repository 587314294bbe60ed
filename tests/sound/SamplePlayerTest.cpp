// The sample player's library calls.
#include <gtest/gtest.h>

#include <memory>

#include "sound/SamplePlayer.h"
#include "support/PlayerFixture.h"

namespace qa::sound {
namespace {

using test::RecordingSoundLibrary;

using SamplePlayerTest = test::PlayerFixture<SamplePlayer>;

TEST_F(SamplePlayerTest, LoadingReadsTheDefaultsQuietly) {
    auto player = load("data\\click.wav");
    EXPECT_EQ(printed, "");
    EXPECT_EQ(library.take(),
              "FSOUND_Sample_Load(-1,data\\click.wav,1,0);FSOUND_Sample_GetDefaults(S,&,&,&,null);"
              "FSOUND_Sample_SetMode(S,1)");
    EXPECT_TRUE(player->IsLoaded());
    EXPECT_FLOAT_EQ(player->GetVolume(), 255.0f);  // the library's units until set
    EXPECT_FLOAT_EQ(player->GetPan(), 0.0f);
    EXPECT_FALSE(player->GetLoop());
    EXPECT_EQ(destroy(player), "sfx cleanup\n");
    EXPECT_EQ(library.take(), "FSOUND_Sample_Free(S)");
}

TEST_F(SamplePlayerTest, FailedLoadLeavesAnInertPlayer) {
    library.answer("FSOUND_Sample_Load", 0);
    library.answer("FSOUND_GetError", 9);
    auto player = load("gone.wav");
    EXPECT_EQ(printed, "Error: File not found\n");
    EXPECT_FALSE(player->IsLoaded());
    EXPECT_FALSE(player->Play(true));
    EXPECT_FLOAT_EQ(player->GetPosition(), 0.0f);
    EXPECT_FLOAT_EQ(player->GetTime(), 0.0f);
    EXPECT_FLOAT_EQ(player->GetVolume(), 1.0f);
    library.take();
    // SetPosition tests neither sample nor channel: the library refuses channel -1.
    EXPECT_FALSE(player->SetPosition(0.0f));
    EXPECT_EQ(library.take(), "FSOUND_Sample_GetLength(null);FSOUND_SetCurrentPosition(-1,0)");
    EXPECT_EQ(destroy(player), "sfx cleanup\n");
    EXPECT_EQ(library.take(), "");
}

TEST_F(SamplePlayerTest, ReplayRewindsAPlayingChannelOrStartsANewOne) {
    auto player = load("a.wav");
    library.take();
    EXPECT_TRUE(player->Play(false));  // never played: nothing happens
    EXPECT_EQ(library.take(), "");
    EXPECT_FALSE(player->SetPosition(0.0f));  // before the first Play: channel -1
    EXPECT_EQ(library.take(), "FSOUND_Sample_GetLength(S);FSOUND_SetCurrentPosition(-1,0)");

    EXPECT_TRUE(player->Play(true));
    EXPECT_EQ(library.take(), "FSOUND_PlaySound(-1,S)");

    // Still playing: rewound and un-paused on the same channel.
    library.answer("FSOUND_IsPlaying", 1);
    player->SetPosition(0.0f);
    player->Play(true);
    EXPECT_EQ(library.take(),
              "FSOUND_Sample_GetLength(S);FSOUND_SetCurrentPosition(7,0);FSOUND_IsPlaying(7);FSOUND_"
              "SetPaused(7,0)");

    // Finished: a new channel.
    library.answer("FSOUND_IsPlaying", 0);
    library.answer("FSOUND_PlaySound", 8);
    player->Play(true);
    EXPECT_EQ(library.take(), "FSOUND_IsPlaying(7);FSOUND_PlaySound(-1,S)");

    EXPECT_EQ(destroy(player), "sfx cleanup\n");
    EXPECT_EQ(library.take(), "FSOUND_StopSound(8);FSOUND_Sample_Free(S)");
}

TEST_F(SamplePlayerTest, PositionTimeAndChannelSettings) {
    auto player = load("a.wav");
    EXPECT_TRUE(player->SetLoop(true));  // no channel: only stored
    EXPECT_TRUE(player->GetLoop());
    library.take();
    player->Play(true);
    EXPECT_EQ(library.take(), "FSOUND_PlaySound(-1,S)");  // looping is not applied to a new channel

    player->SetPosition(0.5f);
    EXPECT_EQ(library.take(), "FSOUND_Sample_GetLength(S);FSOUND_SetCurrentPosition(7,500)");
    library.answer("FSOUND_GetCurrentPosition", 22050);
    EXPECT_FLOAT_EQ(player->GetTime(), 1.0f);  // default frequency 22050
    library.answer("FSOUND_GetCurrentPosition", 250);
    EXPECT_FLOAT_EQ(player->GetPosition(), 0.25f);
    library.take();

    player->SetVolume(0.999f);
    player->SetFrequency(2.0f);
    player->SetPan(-1.0f);
    player->SetLoop(false);
    EXPECT_EQ(
        library.take(),
        "FSOUND_SetVolume(7,255);FSOUND_SetFrequency(7,44100);FSOUND_SetPan(7,0);FSOUND_SetLoopMode(7,1)");
    EXPECT_FLOAT_EQ(player->GetPan(), -1.0f);
}

TEST_F(SamplePlayerTest, DefaultPanOfMinusOneReadsAsCentre) {
    library.defaultPan = -1;
    auto player = load("a.wav");
    EXPECT_FLOAT_EQ(player->GetPan(), 0.0f);
}

}  // namespace
}  // namespace qa::sound
