// Timers: the tick rule of the pass, the timer commands, timers that change the timer list while it
// is walked, and shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "script/ScriptRunner.h"
#include "script/TimerCommands.h"
#include "script/TimerList.h"
#include "support/ScriptRecorder.h"
#include "trace/TraceSink.h"

namespace qa::script {
namespace {

using test::ScriptRecorder;

// Collects the timer records and the Rec calls as "frame:text", in order.
class Log : public trace::TraceSink {
  public:
    explicit Log(ScriptRecorder& rec) : engine_(rec.engine()) { engine_.setTrace(this); }
    ~Log() override { engine_.setTrace(nullptr); }
    void command(const std::string& c, const std::string& arg, const std::string*, int, bool) override {
        if (c == "Rec") lines.push_back(std::to_string(frame) + ":" + arg);
    }
    void event(int, const std::string&, int, bool) override {}
    void timer(const std::string& name, const char* phase) override {
        lines.push_back(std::to_string(frame) + ":" + name + "." + phase);
    }
    void track(const std::string&, const char*) override {}
    void skip(const std::string&) override {}
    void cut(const std::string&, const char*) override {}

    // Runs frames first..last, each of ms milliseconds.
    void frames(int first, int last, std::uint32_t ms) {
        for (frame = first; frame <= last; ++frame) engine_.timers.pass(ms * 0.001);
    }
    std::string joined() const {
        std::string out;
        for (const auto& l : lines) out += (out.empty() ? "" : " ") + l;
        return out;
    }
    void clear() { lines.clear(); }

    int frame = 0;
    std::vector<std::string> lines;

  private:
    engine::Engine& engine_;
};

void run(ScriptRecorder& rec, const std::string& script) {
    rec.engine().scripts.runScript(script);
}

TEST(TimerPass, TicksAtSixteenMillisecondFrames) {
    ScriptRecorder rec;
    Log log(rec);
    run(rec, "SetTimer t 0.5 2 Rec tick");
    run(rec, "SetTimerInit t Rec init");
    run(rec, "SetTimerEnd t Rec end");
    log.clear();
    log.frames(1, 200, 16);
    // -0.0001 + 32 x 0.016 is the first total above 0.5; each tick keeps the remainder.
    EXPECT_EQ(log.joined(),
              "1:t.init 1:init 32:t.tick 32:tick 63:t.tick 63:tick 94:t.tick 94:tick 94:t.end 94:end");
    EXPECT_EQ(rec.engine().timers.size(), 1u);  // a finished timer stays in the list
}

TEST(TimerPass, LongFramesGiveSeveralTicksInOnePass) {
    ScriptRecorder rec;
    Log log(rec);
    run(rec, "SetTimer t 0.5 2 Rec tick");
    log.frames(1, 3, 1200);
    EXPECT_EQ(log.joined(), "1:t.init 1:t.tick 1:tick 1:t.tick 1:tick 2:t.tick 2:tick 2:t.end");
}

TEST(TimerPass, BarsSeparateTickStatementsOnly) {
    ScriptRecorder rec;
    run(rec, "SetTimer t 1 0 Rec a|Rec b");
    run(rec, "SetTimerInit t Rec c|Rec d");
    run(rec, "SetTimerEnd t Rec e|Rec f");
    rec.engine().timers.pass(1.5);
    EXPECT_EQ(rec.joined(), "c|Rec d,a,b,e|Rec f");
}

TEST(TimerPass, NegativeLimitNeverRunsFromThePass) {
    ScriptRecorder rec;
    run(rec, "SetTimer t 0.01 -1 Rec tick");
    run(rec, "SetTimerInit t Rec init");
    run(rec, "SetTimerEnd t Rec end");
    for (int i = 0; i < 10; ++i) rec.engine().timers.pass(1.0);
    EXPECT_EQ(rec.joined(), "");
    run(rec, "KillTimer t");
    EXPECT_EQ(rec.joined(), "end");
    EXPECT_TRUE(rec.engine().timers.empty());
}

TEST(TimerPass, TimersAreAdvancedInCreationOrderWithNewOnesInTheSamePass) {
    ScriptRecorder rec;
    Log log(rec);
    run(rec, "SetTimer a 0.01 0 Rec a|SetTimer b 0.01 0 Rec b");
    run(rec, "SetTimer c 0.01 0 Rec c");
    log.frames(1, 2, 16);
    // b is created by a's tick and gathers the same pass's 16 ms.
    EXPECT_EQ(log.joined(),
              "1:a.init 1:a.tick 1:a 1:a.end 1:c.init 1:c.tick 1:c 1:c.end 1:b.init 1:b.tick 1:b 1:b.end");
}

TEST(TimerCommands, ResultsAndNames) {
    ScriptRecorder rec;
    const Vec3 at{};
    EXPECT_TRUE(rec.engine().commands.timers.setTimer("t 1 1 Rec x", at, nullptr));
    EXPECT_TRUE(rec.engine().commands.timers.setTimer("", at, nullptr));  // a timer with an empty name
    EXPECT_TRUE(rec.engine().commands.timers.resetTimer("t", at, nullptr));
    EXPECT_FALSE(rec.engine().commands.timers.resetTimer("t ", at, nullptr));
    EXPECT_FALSE(rec.engine().commands.timers.resetTimer("T", at, nullptr));
    EXPECT_TRUE(rec.engine().commands.timers.setTimerInit("t Rec i", at, nullptr));
    EXPECT_FALSE(rec.engine().commands.timers.setTimerInit("u Rec i", at, nullptr));
    EXPECT_TRUE(rec.engine().commands.timers.setTimerEnd("t Rec e", at, nullptr));
    EXPECT_FALSE(rec.engine().commands.timers.setTimerEnd("u Rec e", at, nullptr));
    EXPECT_EQ(rec.joined(), "");  // setting scripts runs nothing
    EXPECT_FALSE(rec.engine().commands.timers.killTimer("u", at, nullptr));
    EXPECT_TRUE(rec.engine().commands.timers.killTimer("t", at, nullptr));
    EXPECT_FALSE(rec.engine().commands.timers.killTimer("t", at, nullptr));
    EXPECT_EQ(rec.joined(), "e");
    EXPECT_EQ(rec.engine().timers.size(), 1u);

    // Words that are not numbers read as 0; a limit of many digits saturates.
    run(rec, "SetTimer z abc def Rec z");
    ItemTimer* z = rec.engine().timers.find("z");
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->period, 0.0);
    EXPECT_EQ(z->limit, 0);
    run(rec, "SetTimer z 1e999 99999999999999 Rec z");
    EXPECT_EQ(z->limit, 2147483647);
    EXPECT_TRUE(std::isinf(z->period));
}

TEST(TimerCommands, ResetTimerRunsEndThenInitNowAndInitAgainNextPass) {
    ScriptRecorder rec;
    Log log(rec);
    run(rec, "SetTimer t 0.01 5 Rec tick");
    run(rec, "SetTimerInit t Rec init");
    run(rec, "SetTimerEnd t Rec end");
    log.frames(1, 2, 16);
    log.clear();
    log.frame = 10;
    run(rec, "ResetTimer t");
    log.frames(11, 11, 16);
    EXPECT_EQ(log.joined(), "10:t.end 10:end 10:t.init 10:init 11:t.init 11:init 11:t.tick 11:tick");
}

TEST(TimerCommands, SetTimerOnAnExistingTimerRestartsItWithTheNewValues) {
    ScriptRecorder rec;
    run(rec, "SetTimer t 0.01 0 Rec old");
    run(rec, "SetTimerInit t Rec init");
    run(rec, "SetTimerEnd t Rec end");
    rec.engine().timers.pass(0.016);  // init, one tick, end: finished
    rec.calls().clear();
    rec.engine().timers.pass(0.016);
    EXPECT_EQ(rec.joined(), "");  // finished timers are skipped
    run(rec, "SetTimer t 0.1 1 Rec new");
    EXPECT_EQ(rec.joined(), "end,init");
    EXPECT_EQ(rec.engine().timers.size(), 1u);
    ItemTimer* t = rec.engine().timers.find("t");
    EXPECT_EQ(t->period, 0.1);
    EXPECT_EQ(t->limit, 1);
    rec.calls().clear();
    rec.engine().timers.pass(0.25);
    EXPECT_EQ(rec.joined(), "init,new,new,end");
    // KillTimer on a finished timer runs its end script once more.
    rec.calls().clear();
    run(rec, "KillTimer t");
    EXPECT_EQ(rec.joined(), "end");
    EXPECT_TRUE(rec.engine().timers.empty());
}

TEST(TimerChanges, TimerThatKillsItselfIsNeverTouchedAgain) {
    ScriptRecorder rec;
    Log log(rec);
    run(rec, "SetTimer self 0.01 5 Rec tick|KillTimer self|Rec after|KillTimer self");
    run(rec, "SetTimerEnd self Rec end");
    run(rec, "SetTimer early 0.01 9 KillTimer late|KillTimer early");
    run(rec, "SetTimer late 0.01 9 Rec late");
    run(rec, "SetTimer init 0.01 9 Rec never");
    run(rec, "SetTimerInit init KillTimer init");
    log.frames(1, 3, 100);
    // One end script, from KillTimer; the second KillTimer finds nothing; late never ticks.
    EXPECT_EQ(log.joined(),
              "1:self.init 1:self.tick 1:tick 1:self.end 1:end 1:after 1:early.init 1:early.tick 1:late.end "
              "1:early.end 1:init.init 1:init.end");
    EXPECT_TRUE(rec.engine().timers.empty());
}

TEST(TimerChanges, TimerRecreatedUnderItsOwnNameRunsOnce) {
    ScriptRecorder rec;
    run(rec, "SetTimer t 0.01 0 KillTimer t|SetTimer t 0.01 0 Rec second");
    rec.engine().timers.pass(0.016);
    // The new t is appended and advanced in the same pass.
    EXPECT_EQ(rec.joined(), "second");
    EXPECT_EQ(rec.engine().timers.size(), 1u);
}

// A command that replaces the running timer by a fresh one that does the same: an endless chain.
CommandHandler spawn(TimerCommands& timers) {
    return [&timers](std::string, Vec3 at, scene::ImageItem* item) {
        timers.killTimer("chain", at, item);
        timers.setTimer("chain 0 0 Rec +|Spawn", at, item);
        return true;
    };
}

TEST(TimerChanges, LoopsInsideOnePassEnd) {
    ScriptRecorder rec;
    rec.engine().commandTable.registerCommand("Spawn", spawn(rec.engine().commands.timers));
    // A period of 0 or less ticks at most once per pass, even when the tick restarts the timer.
    run(rec, "SetTimer zero 0 1000000 Rec zero");
    run(rec, "SetTimer negative -1 1000000 Rec neg|ResetTimer negative");
    run(rec, "SetTimer restart -1 1000000 Rec restart|SetTimer restart -1 1000000 Rec restart");
    rec.engine().timers.pass(0.016);
    rec.engine().timers.pass(0.016);
    EXPECT_EQ(rec.joined(), "zero,neg,restart,zero,neg,restart");

    // A very short period is capped per pass and its counter runs on to the end.
    rec.engine().timers.reset();
    rec.calls().clear();
    run(rec, "SetTimer fast 0.0000001 2147483647 Rec");
    rec.engine().timers.pass(10.0);
    EXPECT_EQ(rec.calls().size(), static_cast<std::size_t>(TimerList::kMaxTicksPerPass));
    ItemTimer* fast = rec.engine().timers.find("fast");
    fast->counter = 2147483647;  // the last tick of the largest limit
    rec.calls().clear();
    rec.engine().timers.pass(10.0);
    EXPECT_EQ(rec.calls().size(), 1u);
    EXPECT_TRUE(fast->finished());

    // An end script that restarts its own timer nests only as deep as scripts may.
    rec.engine().timers.reset();
    rec.calls().clear();
    run(rec, "SetTimer loop 0.01 0 Rec tick");
    run(rec, "SetTimerEnd loop ResetTimer loop");
    rec.engine().timers.pass(0.016);
    EXPECT_EQ(rec.joined(), "tick");
    rec.engine().timers.pass(0.016);
    EXPECT_EQ(rec.joined(), "tick,tick");  // the run starts over

    // A chain of timers that each create the next is cut after a bounded number per pass: each link
    // runs two statements, and the pass's cap counts them.
    rec.engine().timers.reset();
    rec.calls().clear();
    run(rec, "SetTimer chain 0 0 Spawn");
    rec.engine().timers.pass(0.016);
    EXPECT_EQ(rec.calls().size(), static_cast<std::size_t>(TimerList::kMaxTicksPerFrame / 2));
    EXPECT_EQ(rec.engine().timers.size(), 1u);
}

TEST(TimerPass, AllTimersTogetherTickAtMostTheFrameCapAndCarryTheRestOver) {
    ScriptRecorder rec;
    Log log(rec);
    auto ticksOf = [&log](const std::string& name) {
        return std::count(log.lines.begin(), log.lines.end(), "0:" + name + ".tick");
    };
    // Below the cap every timer ticks as it falls due: three timers of 3,000 ticks in one pass.
    for (const char* name : {"a", "b", "c"}) run(rec, std::string("SetTimer ") + name + " 0.001 100000 Rec");
    log.frames(0, 0, 3000);
    for (const char* name : {"a", "b", "c"}) EXPECT_EQ(ticksOf(name), 2999) << name;

    // A thousand timers of a microsecond: the pass ends at the cap, every timer ticks at least once
    // (the first one takes what the others leave), and what is due carries over to the next pass.
    rec.engine().timers.reset();
    log.clear();
    rec.calls().clear();
    for (int k = 0; k < 1000; ++k) run(rec, "SetTimer t" + std::to_string(k) + " 0.000001 2147483647 Rec");
    log.frames(0, 0, 16);
    EXPECT_EQ(rec.calls().size(), static_cast<std::size_t>(TimerList::kMaxTicksPerFrame));
    EXPECT_EQ(ticksOf("t0"), TimerList::kMaxTicksPerFrame - 999);
    EXPECT_EQ(ticksOf("t999"), 1);
    ItemTimer* last = rec.engine().timers.find("t999");
    EXPECT_NEAR(last->elapsed, 0.016 + ItemTimer::kNotStarted - 0.000001, 1e-9);
    rec.calls().clear();
    rec.engine().timers.pass(0.0);
    EXPECT_EQ(rec.calls().size(), static_cast<std::size_t>(TimerList::kMaxTicksPerFrame));
    EXPECT_EQ(last->counter, 2);
}

TEST(TimerPass, LongScriptsCountAgainstTheFrameCapAndTheTimersLeftOutGoFirstNextPass) {
    ScriptRecorder rec;
    Log log(rec);
    // Five timers whose every tick runs 6,000 statements: a pass runs what starts within the cap,
    // and each pass after one that was cut short starts with the timer it was cut at.
    std::string names = "abcde";
    for (char name : names) {
        std::string tick = "Rec " + std::string(1, name);
        for (int k = 1; k < 6000; ++k) tick += "|Rec " + std::string(1, name);
        run(rec, "SetTimer " + std::string(1, name) + " 0.001 1000000 " + tick);
    }
    log.clear();
    std::string order;
    for (int frame = 0; frame < 7; ++frame) {
        log.lines.clear();
        log.frames(frame, frame, 16);
        const auto calls = std::count_if(log.lines.begin(), log.lines.end(), [](const std::string& l) {
            return l.find('.') == std::string::npos;
        });
        EXPECT_LE(calls, TimerList::kMaxTicksPerFrame + 6000) << "frame " << frame;
        order += log.lines.back().back();
    }
    EXPECT_EQ(order, "abcdeab");
    // What b was owed while it waited is ticked off in its turns, as far as the cap allows.
    EXPECT_EQ(rec.engine().timers.find("b")->counter, 4);
}

TEST(TimerShutdown, EndScriptsRunInListOrderAndEverythingIsDestroyed) {
    ScriptRecorder rec;
    Log log(rec);
    run(rec, "SetTimer a 1 5 Rec a");
    run(rec, "SetTimerEnd a KillTimer c");
    run(rec, "SetTimer b 1 5 Rec b");
    run(rec, "SetTimerEnd b SetTimer n 0 0 Rec new");
    run(rec, "SetTimer c 1 5 Rec c");
    run(rec, "SetTimerEnd c Rec c-end");
    run(rec, "SetTimer d 1 5 Rec d");
    run(rec, "SetTimerEnd d ResetTimer d");  // cannot find itself any more
    run(rec, "SetTimer e 1 -1 Rec e");       // never started: still ends
    run(rec, "SetTimerEnd e Rec e-end");
    log.frame = 7;
    rec.engine().timers.shutdown();
    // c ends once, from a's KillTimer; n is created by b's end script and destroyed without a run.
    EXPECT_EQ(log.joined(), "7:a.end 7:c.end 7:c-end 7:b.end 7:d.end 7:e.end 7:e-end");
    EXPECT_TRUE(rec.engine().timers.empty());
    rec.engine().timers.pass(1.0);
    EXPECT_EQ(log.lines.size(), 7u);
}

TEST(TimerShutdown, EndScriptsStillReachTheItems) {
    ScriptRecorder rec;
    auto* item = rec.scene().make<scene::ImageItem>("");
    item->name = "box";
    rec.scene().rootItems.push_back(item);
    run(rec, "SetTimer t 1 5 Rec");
    run(rec, "SetTimerEnd t Hide box");
    rec.engine().timers.shutdown();
    EXPECT_FALSE(item->visible);
}

}  // namespace
}  // namespace qa::script
