// What the three players share: a failed load prints the library's error, leaves the player unloaded,
// and destroying it prints its cleanup line without a library call.
#include <gtest/gtest.h>

#include "sound/MusicPlayer.h"
#include "sound/SamplePlayer.h"
#include "sound/StreamPlayer.h"
#include "support/PlayerFixture.h"

namespace qa::sound {
namespace {

template <class Player>
struct Facts;
template <>
struct Facts<MusicPlayer> {
    static constexpr const char* load = "FMUSIC_LoadSong";
    static constexpr const char* loading = "Loading gone.xm\n";
    static constexpr const char* cleanup = "music cleanup\n";
};
template <>
struct Facts<StreamPlayer> {
    static constexpr const char* load = "FSOUND_Stream_OpenFile";
    static constexpr const char* loading = "Loading gone.xm\n";
    static constexpr const char* cleanup = "mstream cleanup\n";
};
template <>
struct Facts<SamplePlayer> {
    static constexpr const char* load = "FSOUND_Sample_Load";
    static constexpr const char* loading = "";  // samples load quietly
    static constexpr const char* cleanup = "sfx cleanup\n";
};

template <class Player>
using PlayerTest = test::PlayerFixture<Player>;
using Players = testing::Types<MusicPlayer, StreamPlayer, SamplePlayer>;
TYPED_TEST_SUITE(PlayerTest, Players);

TYPED_TEST(PlayerTest, FailedLoadPrintsTheErrorAndCleansUpWithoutACall) {
    using F = Facts<TypeParam>;
    this->library.answer(F::load, 0);
    this->library.answer("FSOUND_GetError", 9);
    auto player = this->load("gone.xm");
    EXPECT_EQ(this->printed, std::string(F::loading) + "Error: File not found\n");
    EXPECT_FALSE(player->IsLoaded());
    this->library.take();
    EXPECT_EQ(this->destroy(player), F::cleanup);
    EXPECT_EQ(this->library.take(), "");
}

TYPED_TEST(PlayerTest, LoadedPlayerReportsItsName) {
    auto player = this->load(".\\data\\Quorv Part\\a.wav");
    EXPECT_TRUE(player->IsLoaded());
    EXPECT_EQ(player->GetName(), ".\\data\\Quorv Part\\a.wav");
    this->library.take();
    EXPECT_EQ(this->destroy(player), Facts<TypeParam>::cleanup);
    EXPECT_NE(this->library.take(), "");  // a loaded player frees what it holds
}

}  // namespace
}  // namespace qa::sound
