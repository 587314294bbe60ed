// The three players over the recording library, judged by what they leave behind: their state, what
// they print, and what reached the library (a handle freed, a channel paused, a value in the
// library's units), not the order of their calls. What they share as typed tests, then each
// player's own (a module's orders, a stream's end notification, a sample's channel).
#include <gtest/gtest.h>

#include "sound/MusicPlayer.h"
#include "sound/SamplePlayer.h"
#include "sound/StreamPlayer.h"
#include "support/PlayerFixture.h"

namespace qa::sound {
namespace {

// What tells the players apart in the shared tests: the load operation, whether loading prints a
// line, the load call (P stands for the path), the cleanup line and the call that frees the handle.
struct Facts {
    const char* load;
    bool announces;
    const char* loadCall;
    const char* cleanup;
    const char* freeCall;
};
template <class Player>
const Facts kFacts{};
template <>
const Facts kFacts<MusicPlayer>{"FMUSIC_LoadSong", true, "FMUSIC_LoadSong(P)", "music cleanup\n",
                                "FMUSIC_FreeSong(M)"};
template <>
const Facts kFacts<StreamPlayer>{"FSOUND_Stream_OpenFile", true, "FSOUND_Stream_OpenFile(P,1,0)",
                                 "mstream cleanup\n", "FSOUND_Stream_Close(T)"};
template <>
const Facts kFacts<SamplePlayer>{"FSOUND_Sample_Load", false, "FSOUND_Sample_Load(-1,P,1,0)", "sfx cleanup\n",
                                 "FSOUND_Sample_Free(S)"};

template <class Player>
using PlayerTest = test::PlayerFixture<Player>;
using Players = testing::Types<MusicPlayer, StreamPlayer, SamplePlayer>;
TYPED_TEST_SUITE(PlayerTest, Players);

TYPED_TEST(PlayerTest, FailedLoadPrintsTheErrorAndCleansUpWithoutACall) {
    const Facts& f = kFacts<TypeParam>;
    this->library.answer(f.load, 0);
    this->library.answer("FSOUND_GetError", 9);
    auto player = this->load("gone.xm");
    EXPECT_EQ(this->printed, std::string(f.announces ? "Loading gone.xm\n" : "") + "Error: File not found\n");
    EXPECT_FALSE(player->IsLoaded());
    this->library.take();
    EXPECT_EQ(this->destroy(player), f.cleanup);
    EXPECT_EQ(this->library.take(), "");
}

// The path is passed on as written, with its backslashes and spaces.
TYPED_TEST(PlayerTest, LoadingCallsTheLibraryAndDestroyingFreesIt) {
    const Facts& f = kFacts<TypeParam>;
    const std::string path = ".\\data\\Quorv Part\\a.wav";
    auto player = this->load(path.c_str());
    EXPECT_EQ(this->printed, f.announces ? "Loading " + path + "\n" : "");
    std::string call = f.loadCall;
    call.replace(call.find('P'), 1, path);
    EXPECT_TRUE(this->library.made(call));
    EXPECT_TRUE(player->IsLoaded());
    EXPECT_EQ(player->GetName(), path);
    this->library.take();
    EXPECT_EQ(this->destroy(player), f.cleanup);
    EXPECT_TRUE(this->library.made(f.freeCall));
}

// The players that play on channels: a stream and a sample.
template <class Player>
using ChannelPlayerTest = test::PlayerFixture<Player>;
using ChannelPlayers = testing::Types<StreamPlayer, SamplePlayer>;
TYPED_TEST_SUITE(ChannelPlayerTest, ChannelPlayers);

TYPED_TEST(ChannelPlayerTest, FailedLoadLeavesAnInertPlayer) {
    this->library.answer(kFacts<TypeParam>.load, 0);
    auto player = this->load("gone.wav");
    this->library.take();
    EXPECT_FALSE(player->Play(true));
    EXPECT_FALSE(player->IsPlaying());
    EXPECT_FLOAT_EQ(player->GetPosition(), 0.0f);
    EXPECT_FLOAT_EQ(player->GetTime(), 0.0f);
    EXPECT_EQ(this->library.take(), "");
}

TYPED_TEST(ChannelPlayerTest, PauseBeforeTheFirstPlayDoesNothing) {
    auto player = this->load("a.wav");
    this->library.take();
    EXPECT_TRUE(player->Play(false));
    EXPECT_EQ(this->library.take(), "");
}

// --- the module player ---

using MusicPlayerTest = test::PlayerFixture<MusicPlayer>;

TEST_F(MusicPlayerTest, LoadingSetsLoopingVolumeAndSpeed) {
    auto player = load("a.xm");
    library.take();
    EXPECT_TRUE(player->GetLoop());
    library.answer("FMUSIC_GetMasterVolume", 192);
    EXPECT_FLOAT_EQ(player->GetVolume(), 0.75f);
    EXPECT_EQ(destroy(player), "music cleanup\n");
    EXPECT_TRUE(library.made("FMUSIC_FreeSong(M)"));
}

TEST_F(MusicPlayerTest, FailedLoadPrintsTheErrorAndStillCallsWithNull) {
    library.answer("FMUSIC_LoadSong", 0);
    library.answer("FSOUND_GetError", 10);
    auto player = load("readme.txt");
    EXPECT_EQ(printed, "Loading readme.txt\nError: Unknown file format\n");
    EXPECT_FALSE(player->IsLoaded());
    library.answer("FMUSIC_SetLooping", 0);
    EXPECT_FALSE(player->SetLoop(false));  // asked of the library, which refuses the null module
    EXPECT_TRUE(library.made("FMUSIC_SetLooping(null,0)"));
}

TEST_F(MusicPlayerTest, PlayPausesOrResumesAPlayingModuleAndNeverRestartsIt) {
    auto player = load("a.mod");
    library.take();

    EXPECT_TRUE(player->Play(false));  // not playing: neither started nor paused
    EXPECT_EQ(library.count("FMUSIC_PlaySong") + library.count("FMUSIC_SetPaused"), 0);

    EXPECT_TRUE(player->Play(true));
    EXPECT_TRUE(library.made("FMUSIC_PlaySong(M)"));
    library.take();

    library.answer("FMUSIC_IsPlaying", 1);
    library.answer("FMUSIC_GetPaused", 1);
    EXPECT_TRUE(player->Play(true));  // paused: resumed, not restarted
    EXPECT_TRUE(library.made("FMUSIC_SetPaused(M,0)"));
    EXPECT_EQ(library.count("FMUSIC_PlaySong"), 0);
    EXPECT_TRUE(player->Play(false));
    EXPECT_TRUE(library.made("FMUSIC_SetPaused(M,1)"));

    EXPECT_FALSE(player->IsPlaying());  // playing but paused
    library.answer("FMUSIC_IsPlaying", 0);
    library.answer("FMUSIC_GetPaused", 0);
    EXPECT_FALSE(player->IsPlaying());
    library.answer("FMUSIC_IsPlaying", 1);
    EXPECT_TRUE(player->IsPlaying());
}

TEST_F(MusicPlayerTest, VolumeSpeedPositionAndTimeInLibraryUnits) {
    auto player = load("a.mod");
    library.take();
    player->SetVolume(1.0f);
    player->SetVolume(0.5f);
    player->SetVolume(0.999f);
    for (const char* call :
         {"FMUSIC_SetMasterVolume(M,256)", "FMUSIC_SetMasterVolume(M,128)", "FMUSIC_SetMasterVolume(M,255)"})
        EXPECT_TRUE(library.made(call)) << call;

    EXPECT_TRUE(player->SetFrequency(1.5f));
    EXPECT_FLOAT_EQ(player->GetFrequency(), 1.5f);
    EXPECT_TRUE(library.made("FMUSIC_SetMasterSpeed(M,1.5)"));

    player->SetPosition(0.99f);  // of 10 orders
    EXPECT_TRUE(library.made("FMUSIC_SetOrder(M,9)"));
    player->SetPosition(0.0f);
    EXPECT_TRUE(library.made("FMUSIC_SetOrder(M,0)"));

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
    EXPECT_TRUE(library.made("FMUSIC_SetMasterVolume(M,2147483647)"));
}

// --- the stream player ---

using StreamPlayerTest = test::PlayerFixture<StreamPlayer>;
using test::RecordingSoundLibrary;

// The library tells the player its stream has ended.
void end(RecordingSoundLibrary& library) {
    library.callback(RecordingSoundLibrary::stream(), nullptr, 0, library.user);
}

TEST_F(StreamPlayerTest, OpeningRegistersTheEndNotificationWithThePlayer) {
    auto player = load("b.ogg");
    library.take();
    EXPECT_EQ(library.user, player.get());
    EXPECT_EQ(library.callback, &StreamPlayer::OnStreamEnd);
    // The initial values are not in interface units.
    EXPECT_FLOAT_EQ(player->GetVolume(), 255.0f);
    EXPECT_FLOAT_EQ(player->GetPan(), -1.0f);
    EXPECT_EQ(destroy(player), "mstream cleanup\n");
    EXPECT_TRUE(library.made("FSOUND_Stream_Close(T)"));
}

TEST_F(StreamPlayerTest, FailedOpenLeavesAnInertPlayer) {
    library.answer("FSOUND_Stream_OpenFile", 0);
    auto player = load("gone.mp3");
    library.take();
    EXPECT_FALSE(player->SetVolume(0.5f));
    EXPECT_EQ(library.take(), "");  // nothing reaches the library
    library.answer("FSOUND_Stream_Stop", 0);
    EXPECT_FALSE(player->Stop());  // the one call made with a null stream
    EXPECT_TRUE(library.made("FSOUND_Stream_Stop(null)"));
}

TEST_F(StreamPlayerTest, PlayStartsOnceThenPausesAndResumesTheChannel) {
    auto player = load("a.mp3");
    library.take();
    EXPECT_TRUE(player->Play(true));
    EXPECT_TRUE(library.made("FSOUND_Stream_Play(-1,T)"));
    EXPECT_TRUE(player->IsPlaying());
    library.take();

    library.answer("FSOUND_IsPlaying", 1);
    EXPECT_TRUE(player->Play(true));  // playing: no second channel
    EXPECT_EQ(library.count("FSOUND_Stream_Play"), 0);
    EXPECT_TRUE(library.made("FSOUND_SetPaused(7,0)"));
    EXPECT_TRUE(player->Play(false));
    EXPECT_TRUE(library.made("FSOUND_SetPaused(7,1)"));
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
    EXPECT_EQ(library.count("FSOUND_Stream_Play"), 0);  // not looping: only the flag
    EXPECT_FALSE(player->IsPlaying());

    library.answer("FSOUND_Stream_Play", 9);
    EXPECT_TRUE(player->Play(true));  // the old channel no longer plays: a new one
    EXPECT_TRUE(library.made("FSOUND_Stream_Play(-1,T)"));
    EXPECT_TRUE(player->IsPlaying());

    // Looping: the notification plays again (through the interface), then still clears the flag.
    player->SetLoop(true);
    library.take();
    end(library);
    EXPECT_TRUE(library.made("FSOUND_Stream_Play(-1,T)"));
    EXPECT_FALSE(player->IsPlaying());
}

TEST_F(StreamPlayerTest, AStreamThatEndsBeforeItsPlayReturnsIsNotPlaying) {
    // A very short stream can end on the mixing thread before the call that started it returns; the
    // rotation then must see it ended, or it would wait for it for ever.
    auto player = load("click.ogg");
    player->SetLoop(false);
    ON_CALL(library, FSOUND_Stream_Play(testing::_, testing::_))
        .WillByDefault([this](int, platform::audio::StreamHandle) {
            end(library);
            return 7;
        });
    EXPECT_TRUE(player->Play(true));
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
    EXPECT_TRUE(library.made("FSOUND_Stream_Play(-1,T)"));
    // A new channel keeps the library's settings: the stored ones are not applied to it.
    EXPECT_EQ(library.count("FSOUND_SetVolume") + library.count("FSOUND_SetFrequency") +
                  library.count("FSOUND_SetPan"),
              0);
    player->SetVolume(0.5f);
    player->SetFrequency(2.0f);
    player->SetPan(0.5f);
    for (const char* call :
         {"FSOUND_SetVolume(7,128)", "FSOUND_SetFrequency(7,88200)", "FSOUND_SetPan(7,192)"})
        EXPECT_TRUE(library.made(call)) << call;
    EXPECT_FLOAT_EQ(player->GetPan(), 0.5f);

    EXPECT_TRUE(player->SetPosition(0.0f));
    EXPECT_TRUE(library.made("FSOUND_Stream_SetPosition(T,0)"));

    library.answer("FSOUND_GetCurrentPosition", 88200);
    EXPECT_FLOAT_EQ(player->GetTime(), 2.0f);
    library.answer("FSOUND_Stream_GetPosition", 176400);
    EXPECT_FLOAT_EQ(player->GetPosition(), 0.5f);
}

// --- the sample player ---

using SamplePlayerTest = test::PlayerFixture<SamplePlayer>;

TEST_F(SamplePlayerTest, LoadingReadsTheDefaultsQuietly) {
    auto player = load("data\\click.wav");
    library.take();
    EXPECT_FLOAT_EQ(player->GetVolume(), 255.0f);  // the library's units until set
    EXPECT_FLOAT_EQ(player->GetPan(), 0.0f);
    EXPECT_FALSE(player->GetLoop());
    EXPECT_EQ(destroy(player), "sfx cleanup\n");
    EXPECT_TRUE(library.made("FSOUND_Sample_Free(S)"));
}

TEST_F(SamplePlayerTest, FailedLoadLeavesAnInertPlayer) {
    library.answer("FSOUND_Sample_Load", 0);
    auto player = load("gone.wav");
    EXPECT_FLOAT_EQ(player->GetVolume(), 1.0f);
    library.take();
    // SetPosition tests neither sample nor channel: the library refuses channel -1.
    EXPECT_FALSE(player->SetPosition(0.0f));
    EXPECT_TRUE(library.made("FSOUND_SetCurrentPosition(-1,0)"));
}

TEST_F(SamplePlayerTest, ReplayRewindsAPlayingChannelOrStartsANewOne) {
    auto player = load("a.wav");
    library.take();
    EXPECT_FALSE(player->SetPosition(0.0f));  // before the first Play: channel -1
    EXPECT_TRUE(library.made("FSOUND_SetCurrentPosition(-1,0)"));

    EXPECT_TRUE(player->Play(true));
    EXPECT_TRUE(library.made("FSOUND_PlaySound(-1,S)"));
    library.take();

    // Still playing: rewound and un-paused on the same channel.
    library.answer("FSOUND_IsPlaying", 1);
    player->SetPosition(0.0f);
    player->Play(true);
    EXPECT_TRUE(library.made("FSOUND_SetCurrentPosition(7,0)"));
    EXPECT_TRUE(library.made("FSOUND_SetPaused(7,0)"));
    EXPECT_EQ(library.count("FSOUND_PlaySound"), 0);
    library.take();

    // Finished: a new channel.
    library.answer("FSOUND_IsPlaying", 0);
    library.answer("FSOUND_PlaySound", 8);
    player->Play(true);
    EXPECT_TRUE(library.made("FSOUND_PlaySound(-1,S)"));
    library.take();

    EXPECT_EQ(destroy(player), "sfx cleanup\n");
    EXPECT_TRUE(library.made("FSOUND_StopSound(8)"));  // the channel it plays on now
    EXPECT_TRUE(library.made("FSOUND_Sample_Free(S)"));
}

TEST_F(SamplePlayerTest, PositionTimeAndChannelSettings) {
    auto player = load("a.wav");
    EXPECT_TRUE(player->SetLoop(true));  // no channel: only stored
    EXPECT_TRUE(player->GetLoop());
    library.take();
    player->Play(true);
    EXPECT_TRUE(library.made("FSOUND_PlaySound(-1,S)"));
    EXPECT_EQ(library.count("FSOUND_SetLoopMode"), 0);  // looping is not applied to a new channel

    player->SetPosition(0.5f);
    EXPECT_TRUE(library.made("FSOUND_SetCurrentPosition(7,500)"));
    library.answer("FSOUND_GetCurrentPosition", 22050);
    EXPECT_FLOAT_EQ(player->GetTime(), 1.0f);  // default frequency 22050
    library.answer("FSOUND_GetCurrentPosition", 250);
    EXPECT_FLOAT_EQ(player->GetPosition(), 0.25f);
    library.take();

    player->SetVolume(0.999f);
    player->SetFrequency(2.0f);
    player->SetPan(-1.0f);
    player->SetLoop(false);
    for (const char* call : {"FSOUND_SetVolume(7,255)", "FSOUND_SetFrequency(7,44100)", "FSOUND_SetPan(7,0)",
                             "FSOUND_SetLoopMode(7,1)"})
        EXPECT_TRUE(library.made(call)) << call;
    EXPECT_FLOAT_EQ(player->GetPan(), -1.0f);
}

TEST_F(SamplePlayerTest, DefaultPanOfMinusOneReadsAsCentre) {
    library.defaultPan = -1;
    auto player = load("a.wav");
    EXPECT_FLOAT_EQ(player->GetPan(), 0.0f);
}

}  // namespace
}  // namespace qa::sound
