// PlaySfx, PlayTrack, PauseTrack and ExitApp as scripts use them.
#include <gtest/gtest.h>

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

sound::SoundObject* makeFake(const std::string& path) {
    return new FakeSound(path, path != "missing.wav");
}

struct SoundCommandsTest : ::testing::Test {
    test::ScriptRecorder rec;
    scene::ImageItem* item = nullptr;
    SoundCommandsTest() {
        item = new scene::ImageItem("");
        item->name = "it";
        scene::sceneState().rootItems.push_back(item);
        SoundCommands::setEffectMaker(&makeFake);
        SoundCommands::setSoundOn(true);
        sound::trackList().destroyAll();
        FakeSound::log().clear();
    }
    ~SoundCommandsTest() override {
        SoundCommands::destroyEffects();
        sound::trackList().destroyAll();
        SoundCommands::setSoundOn(true);
    }
    bool run(const std::string& script) {
        *item->script(qa::scene::Event::onSubmit) = script;
        return item->fireEvent(qa::scene::Event::onSubmit, {});
    }
    FakeSound* addTrack(const std::string& name) {
        auto* t = new FakeSound(name);
        sound::trackList().append(t);
        return t;
    }
};

TEST_F(SoundCommandsTest, PlaySfxLoadsFirstThenRewindsAndPlays) {
    EXPECT_FALSE(run("PlaySfx click.wav"));
    ASSERT_EQ(SoundCommands::effects().size(), 1u);
    EXPECT_EQ(FakeSound::log(), (std::vector<std::string>{"loop click.wav 0"}));  // loaded, not played
    EXPECT_TRUE(run("PlaySfx click.wav"));
    EXPECT_EQ(FakeSound::log().back(), "play click.wav 1");
    EXPECT_EQ(FakeSound::log()[1], "setpos click.wav");
    // A file that does not load is kept and later calls do nothing audible, still "handled".
    EXPECT_FALSE(run("PlaySfx missing.wav"));
    EXPECT_TRUE(run("PlaySfx missing.wav"));
    EXPECT_EQ(SoundCommands::effects().size(), 2u);
}

TEST_F(SoundCommandsTest, PlaySfxWithSoundOffAndInTimerScripts) {
    SoundCommands::setSoundOn(false);
    EXPECT_TRUE(run("PlaySfx click.wav"));
    EXPECT_TRUE(SoundCommands::effects().empty());
    SoundCommands::setSoundOn(true);
    addTrack("T1");
    ScriptRunner::runScript("PlaySfx click.wav;PlayTrack T1;PauseTrack");
    EXPECT_TRUE(SoundCommands::effects().empty());
    EXPECT_TRUE(FakeSound::log().empty());
}

TEST_F(SoundCommandsTest, PlayTrackMovesToFrontAndTheEndResumesThePausedOne) {
    FakeSound* t1 = addTrack("T1");
    addTrack("T2");
    FakeSound* t3 = addTrack("T3");
    sound::trackList().startFront();
    t1->advance(12.5f);
    EXPECT_FALSE(run("PlayTrack song.mp3"));  // names are full paths
    EXPECT_TRUE(run("PlayTrack T3"));
    std::vector<std::string> order;
    for (sound::SoundObject* t : sound::trackList().tracks()) order.push_back(t->GetName());
    EXPECT_EQ(order, (std::vector<std::string>{"T3", "T1", "T2"}));
    EXPECT_TRUE(t1->paused());
    EXPECT_TRUE(t3->IsPlaying());
    t3->end();
    sound::trackList().advance();
    EXPECT_EQ(sound::trackList().current(), t1);
    EXPECT_TRUE(t1->IsPlaying());
    EXPECT_EQ(t1->position(), 12.5f);  // resumed where it was paused, not rewound
}

TEST_F(SoundCommandsTest, PauseTrackToggleStopAndPlayWords) {
    FakeSound* t1 = addTrack("T1");
    sound::trackList().startFront();
    EXPECT_TRUE(run("PauseTrack"));  // the argument is the word itself: toggles
    EXPECT_TRUE(sound::trackList().paused());
    EXPECT_FALSE(t1->IsPlaying());
    EXPECT_FALSE(run("PauseTrack stop"));  // already paused: nothing changes
    EXPECT_TRUE(sound::trackList().paused());
    EXPECT_TRUE(run("PauseTrack"));
    EXPECT_FALSE(sound::trackList().paused());
    EXPECT_TRUE(t1->IsPlaying());
    EXPECT_TRUE(run("PauseTrack play"));  // keeps playing, clears the flag
    EXPECT_TRUE(t1->IsPlaying());
    run("PauseTrack Play");  // any other word toggles
    EXPECT_FALSE(t1->IsPlaying());
}

TEST_F(SoundCommandsTest, PlayTrackWhilePausedKeepsTheFlag) {
    addTrack("T1");
    FakeSound* t2 = addTrack("T2");
    sound::trackList().startFront();
    run("PauseTrack stop");
    EXPECT_TRUE(run("PlayTrack T2"));
    EXPECT_TRUE(sound::trackList().paused());
    t2->end();
    sound::trackList().advance();
    EXPECT_EQ(sound::trackList().current(), t2);  // does not move on until resumed
}

TEST_F(SoundCommandsTest, EmptyTrackListIsLeftAlone) {
    EXPECT_FALSE(run("PauseTrack"));
    EXPECT_FALSE(run("PauseTrack play"));
    EXPECT_FALSE(run("PlayTrack T1"));
    EXPECT_FALSE(sound::trackList().paused());
}

}  // namespace
}  // namespace qa::script
