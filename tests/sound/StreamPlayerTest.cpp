// The stream player's library calls and its end notification.
#include <gtest/gtest.h>

#include <memory>

#include "sound/StreamPlayer.h"
#include "support/PlayerFixture.h"

namespace qa::sound {
namespace {

using test::RecordingSoundLibrary;

using StreamPlayerTest = test::PlayerFixture<StreamPlayer>;

// The library tells the player its stream has ended.
void end(RecordingSoundLibrary& library) {
    library.callback(RecordingSoundLibrary::stream(), nullptr, 0, library.user);
}

TEST_F(StreamPlayerTest, OpeningRegistersTheEndNotificationWithThePlayer) {
    auto player = load(".\\data\\Quorv Part\\b.ogg");
    EXPECT_EQ(printed, "Loading .\\data\\Quorv Part\\b.ogg\n");
    EXPECT_EQ(library.take(),
              "FSOUND_Stream_OpenFile(.\\data\\Quorv Part\\b.ogg,1,0);FSOUND_Stream_SetLoopCount(T,0);"
              "FSOUND_Stream_SetEndCallback(T,callback,&)");
    EXPECT_EQ(library.user, player.get());
    EXPECT_EQ(library.callback, &StreamPlayer::OnStreamEnd);
    // The initial values are not in interface units.
    EXPECT_FLOAT_EQ(player->GetVolume(), 255.0f);
    EXPECT_FLOAT_EQ(player->GetPan(), -1.0f);
    EXPECT_EQ(destroy(player), "mstream cleanup\n");
    EXPECT_EQ(library.take(), "FSOUND_Stream_Stop(T);FSOUND_Stream_Close(T)");
}

TEST_F(StreamPlayerTest, FailedOpenLeavesAnInertPlayer) {
    library.answer("FSOUND_Stream_OpenFile", 0);
    library.answer("FSOUND_GetError", 9);
    auto player = load("gone.mp3");
    EXPECT_EQ(printed, "Loading gone.mp3\nError: File not found\n");
    EXPECT_EQ(library.take(), "FSOUND_Stream_OpenFile(gone.mp3,1,0);FSOUND_GetError()");
    EXPECT_FALSE(player->IsLoaded());
    EXPECT_FALSE(player->Play(true));
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_FLOAT_EQ(player->GetPosition(), 0.0f);
    EXPECT_FLOAT_EQ(player->GetTime(), 0.0f);
    EXPECT_FALSE(player->SetVolume(0.5f));
    EXPECT_EQ(library.take(), "");
    library.answer("FSOUND_Stream_Stop", 0);
    EXPECT_FALSE(player->Stop());  // the one call made with a null stream
    EXPECT_EQ(library.take(), "FSOUND_Stream_Stop(null)");
    EXPECT_EQ(destroy(player), "mstream cleanup\n");
    EXPECT_EQ(library.take(), "");
}

TEST_F(StreamPlayerTest, PlayStartsOnceThenPausesAndResumesTheChannel) {
    auto player = load("a.mp3");
    library.take();
    EXPECT_TRUE(player->Play(false));  // never started: nothing happens
    EXPECT_EQ(library.take(), "");

    EXPECT_TRUE(player->Play(true));
    EXPECT_EQ(library.take(), "FSOUND_Stream_Play(-1,T)");
    EXPECT_TRUE(player->IsPlaying());
    EXPECT_EQ(library.take(), "FSOUND_GetPaused(7)");

    library.answer("FSOUND_IsPlaying", 1);
    EXPECT_TRUE(player->Play(true));  // playing: no second channel
    EXPECT_EQ(library.take(), "FSOUND_IsPlaying(7);FSOUND_SetPaused(7,0)");
    EXPECT_TRUE(player->Play(false));
    EXPECT_EQ(library.take(), "FSOUND_IsPlaying(7);FSOUND_SetPaused(7,1)");
    library.answer("FSOUND_GetPaused", 1);
    EXPECT_FALSE(player->IsPlaying());

    EXPECT_EQ(destroy(player), "mstream cleanup\n");
}

TEST_F(StreamPlayerTest, EndNotificationClearsStartedAndAFinishedStreamStartsAnew) {
    auto player = load("a.mp3");
    player->SetLoop(false);
    player->Play(true);
    library.take();

    end(library);
    EXPECT_EQ(library.take(), "");  // not looping: only the flag
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_EQ(library.take(), "");  // `started` decides before the library is asked

    library.answer("FSOUND_Stream_Play", 9);
    EXPECT_TRUE(player->Play(true));  // the old channel no longer plays: a new one
    EXPECT_EQ(library.take(), "FSOUND_IsPlaying(7);FSOUND_Stream_Play(-1,T)");
    EXPECT_TRUE(player->IsPlaying());

    // Looping: the notification plays again (through the interface), then still clears the flag.
    player->SetLoop(true);
    library.take();
    end(library);
    EXPECT_EQ(library.take(), "FSOUND_IsPlaying(9);FSOUND_Stream_Play(-1,T)");
    EXPECT_FALSE(player->IsPlaying());
}

TEST_F(StreamPlayerTest, FailedPlayKeepsNoChannelButCountsAsStarted) {
    auto player = load("a.ogg");
    library.answer("FSOUND_Stream_Play", -1);
    EXPECT_FALSE(player->Play(true));
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_FLOAT_EQ(player->GetTime(), 0.0f);
}

TEST_F(StreamPlayerTest, ChannelSettingsAreStoredAndAppliedOnlyToAPlayingChannel) {
    auto player = load("a.ogg");
    library.take();
    EXPECT_TRUE(player->SetVolume(0.5f));
    EXPECT_TRUE(player->SetFrequency(2.0f));
    EXPECT_TRUE(player->SetPan(0.0f));
    EXPECT_EQ(library.take(), "");  // no channel yet: only stored
    EXPECT_FLOAT_EQ(player->GetVolume(), 0.5f);
    EXPECT_FLOAT_EQ(player->GetPan(), 0.0f);
    player->SetPan(-1.0f);
    EXPECT_FLOAT_EQ(player->GetPan(), -1.0f);

    player->Play(true);
    EXPECT_EQ(library.take(), "FSOUND_Stream_Play(-1,T)");  // a new channel keeps the library's settings
    player->SetVolume(0.5f);
    player->SetFrequency(2.0f);
    player->SetPan(0.5f);
    EXPECT_EQ(library.take(), "FSOUND_SetVolume(7,128);FSOUND_SetFrequency(7,88200);FSOUND_SetPan(7,192)");
    EXPECT_FLOAT_EQ(player->GetPan(), 0.5f);

    EXPECT_TRUE(player->SetPosition(0.0f));
    EXPECT_EQ(library.take(), "FSOUND_Stream_SetPosition(T,0)");

    library.answer("FSOUND_GetCurrentPosition", 88200);
    EXPECT_FLOAT_EQ(player->GetTime(), 2.0f);
    library.answer("FSOUND_Stream_GetPosition", 176400);
    EXPECT_FLOAT_EQ(player->GetPosition(), 0.5f);
    EXPECT_EQ(library.take(),
              "FSOUND_GetCurrentPosition(7);FSOUND_GetCurrentPosition(7);FSOUND_Stream_GetPosition(T)");
}

}  // namespace
}  // namespace qa::sound
