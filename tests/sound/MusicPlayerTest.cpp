// The module player's library calls.
#include <gtest/gtest.h>

#include <memory>

#include "sound/MusicPlayer.h"
#include "support/PlayerFixture.h"

namespace qa::sound {
namespace {

using test::RecordingSoundLibrary;

using MusicPlayerTest = test::PlayerFixture<MusicPlayer>;

TEST_F(MusicPlayerTest, LoadingSetsLoopingVolumeAndSpeed) {
    auto player = load(".\\data\\Quorv Part\\a.xm");
    EXPECT_EQ(printed, "Loading .\\data\\Quorv Part\\a.xm\n");
    EXPECT_EQ(
        library.take(),
        "FMUSIC_LoadSong(.\\data\\Quorv Part\\a.xm);FMUSIC_SetLooping(M,1);FMUSIC_SetMasterVolume(M,192);"
        "FMUSIC_SetMasterSpeed(M,1)");
    EXPECT_TRUE(player->IsLoaded());
    EXPECT_TRUE(player->GetLoop());
    EXPECT_EQ(player->GetName(), ".\\data\\Quorv Part\\a.xm");
    library.answer("FMUSIC_GetMasterVolume", 192);
    EXPECT_FLOAT_EQ(player->GetVolume(), 0.75f);
    EXPECT_EQ(destroy(player), "music cleanup\n");
    EXPECT_EQ(library.take(), "FMUSIC_GetMasterVolume(M);FMUSIC_StopSong(M);FMUSIC_FreeSong(M)");
}

TEST_F(MusicPlayerTest, FailedLoadPrintsTheErrorAndStillCallsWithNull) {
    library.answer("FMUSIC_LoadSong", 0);
    library.answer("FSOUND_GetError", 10);
    auto player = load("readme.txt");
    EXPECT_EQ(printed, "Loading readme.txt\nError: Unknown file format\n");
    EXPECT_EQ(library.take(), "FMUSIC_LoadSong(readme.txt);FSOUND_GetError()");
    EXPECT_FALSE(player->IsLoaded());
    library.answer("FMUSIC_SetLooping", 0);
    EXPECT_FALSE(player->SetLoop(false));
    EXPECT_EQ(library.take(), "FMUSIC_SetLooping(null,0)");
    EXPECT_EQ(destroy(player), "music cleanup\n");
    EXPECT_EQ(library.take(), "");
}

TEST_F(MusicPlayerTest, PlayPausesOrResumesAPlayingModuleAndNeverRestartsIt) {
    auto player = load("a.mod");
    library.take();

    EXPECT_TRUE(player->Play(false));  // not playing: nothing but the query
    EXPECT_EQ(library.take(), "FMUSIC_IsPlaying(M)");

    EXPECT_TRUE(player->Play(true));
    EXPECT_EQ(library.take(), "FMUSIC_IsPlaying(M);FMUSIC_PlaySong(M)");

    library.answer("FMUSIC_IsPlaying", 1);
    library.answer("FMUSIC_GetPaused", 1);
    EXPECT_TRUE(player->Play(true));  // paused: resumed, not restarted
    EXPECT_EQ(library.take(), "FMUSIC_IsPlaying(M);FMUSIC_SetPaused(M,0)");
    EXPECT_TRUE(player->Play(false));
    EXPECT_EQ(library.take(), "FMUSIC_IsPlaying(M);FMUSIC_SetPaused(M,1)");

    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(library.take(), "FMUSIC_IsPlaying(M);FMUSIC_GetPaused(M)");
    library.answer("FMUSIC_IsPlaying", 0);
    EXPECT_FALSE(player->IsPlaying());  // the pause is asked only of a playing module
    EXPECT_EQ(library.take(), "FMUSIC_IsPlaying(M)");
}

TEST_F(MusicPlayerTest, VolumeSpeedPositionAndTimeInLibraryUnits) {
    auto player = load("a.mod");
    library.take();
    player->SetVolume(1.0f);
    player->SetVolume(0.5f);
    player->SetVolume(0.999f);
    EXPECT_EQ(library.take(),
              "FMUSIC_SetMasterVolume(M,256);FMUSIC_SetMasterVolume(M,128);FMUSIC_SetMasterVolume(M,255)");

    EXPECT_TRUE(player->SetFrequency(1.5f));
    EXPECT_FLOAT_EQ(player->GetFrequency(), 1.5f);
    EXPECT_EQ(library.take(), "FMUSIC_SetMasterSpeed(M,1.5)");

    player->SetPosition(0.99f);
    player->SetPosition(0.0f);
    EXPECT_EQ(library.take(),
              "FMUSIC_GetNumOrders(M);FMUSIC_SetOrder(M,9);FMUSIC_GetNumOrders(M);FMUSIC_SetOrder(M,0)");

    library.answer("FMUSIC_GetNumOrders", 12);
    library.answer("FMUSIC_GetOrder", 3);
    EXPECT_FLOAT_EQ(player->GetPosition(), 0.25f);
    library.answer("FMUSIC_GetTime", 1500);
    EXPECT_FLOAT_EQ(player->GetTime(), 1.5f);
    library.take();

    EXPECT_TRUE(player->SetPan(0.7f));
    EXPECT_FLOAT_EQ(player->GetPan(), 0.0f);
    EXPECT_EQ(library.take(), "");

    // Values far outside the range saturate instead of overflowing.
    player->SetVolume(1e30f);
    EXPECT_EQ(library.take(), "FMUSIC_SetMasterVolume(M,2147483647)");
}

}  // namespace
}  // namespace qa::sound
