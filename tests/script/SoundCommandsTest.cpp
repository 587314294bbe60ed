// PlaySfx, PlayTrack, PauseTrack and ExitApp as scripts use them.
#include <gtest/gtest.h>

#include <memory>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "script/AppCommands.h"
#include "script/ScriptRunner.h"
#include "script/SoundCommands.h"
#include "sound/TrackList.h"
#include "support/FakeSound.h"
#include "support/ScriptRecorder.h"

namespace qa::script {
namespace {

using test::FakeSound;

std::unique_ptr<sound::SoundObject> makeFake(const std::string& path) {
    return std::make_unique<FakeSound>(path, path != "missing.wav");
}

struct SoundCommandsTest : ::testing::Test {
    test::ScriptRecorder rec;
    scene::ImageItem* item = nullptr;
    SoundCommandsTest() {
        item = rec.scene().make<scene::ImageItem>("");
        item->name = "it";
        rec.scene().rootItems.push_back(item);
        rec.engine().commands.sound.setEffectMaker(&makeFake);
        FakeSound::log().clear();
    }
    bool run(const std::string& script) {
        *item->script(qa::scene::Event::onSubmit) = script;
        return item->fireEvent(qa::scene::Event::onSubmit, {});
    }
    FakeSound* addTrack(const std::string& name) {
        auto* t = new FakeSound(name);
        rec.engine().tracks.append(std::unique_ptr<sound::SoundObject>(t));
        return t;
    }
};

TEST_F(SoundCommandsTest, PlaySfxLoadsFirstThenRewindsAndPlays) {
    EXPECT_FALSE(run("PlaySfx click.wav"));
    ASSERT_EQ(rec.engine().commands.sound.effects().size(), 1u);
    EXPECT_EQ(FakeSound::log(), (std::vector<std::string>{"loop click.wav 0"}));  // loaded, not played
    EXPECT_TRUE(run("PlaySfx click.wav"));
    EXPECT_EQ(FakeSound::log().back(), "play click.wav 1");
    EXPECT_EQ(FakeSound::log()[1], "setpos click.wav");
    // A file that does not load is kept and later calls do nothing audible, still "handled".
    EXPECT_FALSE(run("PlaySfx missing.wav"));
    EXPECT_TRUE(run("PlaySfx missing.wav"));
    EXPECT_EQ(rec.engine().commands.sound.effects().size(), 2u);
}

TEST_F(SoundCommandsTest, PlaySfxWithSoundOffAndInTimerScripts) {
    rec.engine().commands.sound.setSoundOn(false);
    EXPECT_TRUE(run("PlaySfx click.wav"));
    EXPECT_TRUE(rec.engine().commands.sound.effects().empty());
    rec.engine().commands.sound.setSoundOn(true);
    addTrack("T1");
    rec.engine().scripts.runScript("PlaySfx click.wav;PlayTrack T1;PauseTrack");
    EXPECT_TRUE(rec.engine().commands.sound.effects().empty());
    EXPECT_TRUE(FakeSound::log().empty());
}

TEST_F(SoundCommandsTest, PlayTrackMovesToFrontAndTheEndResumesThePausedOne) {
    FakeSound* t1 = addTrack("T1");
    addTrack("T2");
    FakeSound* t3 = addTrack("T3");
    rec.engine().tracks.startFront();
    t1->advance(12.5f);
    EXPECT_FALSE(run("PlayTrack song.mp3"));  // names are full paths
    EXPECT_TRUE(run("PlayTrack T3"));
    std::vector<std::string> order;
    for (const auto& t : rec.engine().tracks.tracks()) order.push_back(t->GetName());
    EXPECT_EQ(order, (std::vector<std::string>{"T3", "T1", "T2"}));
    EXPECT_TRUE(t1->paused());
    EXPECT_TRUE(t3->IsPlaying());
    t3->end();
    rec.engine().tracks.advance();
    EXPECT_EQ(rec.engine().tracks.current(), t1);
    EXPECT_TRUE(t1->IsPlaying());
    EXPECT_EQ(t1->position(), 12.5f);  // resumed where it was paused, not rewound
}

TEST_F(SoundCommandsTest, PauseTrackToggleStopAndPlayWords) {
    FakeSound* t1 = addTrack("T1");
    rec.engine().tracks.startFront();
    EXPECT_TRUE(run("PauseTrack"));  // the argument is the word itself: toggles
    EXPECT_TRUE(rec.engine().tracks.paused());
    EXPECT_FALSE(t1->IsPlaying());
    EXPECT_FALSE(run("PauseTrack stop"));  // already paused: nothing changes
    EXPECT_TRUE(rec.engine().tracks.paused());
    EXPECT_TRUE(run("PauseTrack"));
    EXPECT_FALSE(rec.engine().tracks.paused());
    EXPECT_TRUE(t1->IsPlaying());
    EXPECT_TRUE(run("PauseTrack play"));  // keeps playing, clears the flag
    EXPECT_TRUE(t1->IsPlaying());
    run("PauseTrack Play");  // any other word toggles
    EXPECT_FALSE(t1->IsPlaying());
}

TEST_F(SoundCommandsTest, PlayTrackWhilePausedKeepsTheFlag) {
    addTrack("T1");
    FakeSound* t2 = addTrack("T2");
    rec.engine().tracks.startFront();
    run("PauseTrack stop");
    EXPECT_TRUE(run("PlayTrack T2"));
    EXPECT_TRUE(rec.engine().tracks.paused());
    t2->end();
    rec.engine().tracks.advance();
    EXPECT_EQ(rec.engine().tracks.current(), t2);  // does not move on until resumed
}

TEST_F(SoundCommandsTest, EmptyTrackListIsLeftAlone) {
    EXPECT_FALSE(run("PauseTrack"));
    EXPECT_FALSE(run("PauseTrack play"));
    EXPECT_FALSE(run("PlayTrack T1"));
    EXPECT_FALSE(rec.engine().tracks.paused());
}

}  // namespace
}  // namespace qa::script
