// The timers of the engine, advanced once per frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "script/ItemTimer.h"

namespace qa::trace {
class TraceSink;
}

namespace qa::script {

class ScriptRunner;

class TimerList {
  public:
    // A timer ticks at most this often in one pass, however long the frame and however short its
    // period; one with a period of 0 or less ticks at most once per pass.
    static constexpr int kMaxTicksPerPass = 10000;
    // Of the timers created during one pass, at most this many are advanced in that same pass; the
    // others start in the next. A scene whose timers keep creating timers cannot hold a frame forever.
    static constexpr std::size_t kMaxNewTimersPerPass = 10000;
    // All timers together tick at most this often in one pass, a tick counting as the statements
    // its timer's scripts run (init, tick and end, with every script they start), at least one.
    // Each running timer may use what is left of the pass when its turn comes, less one kept for
    // each running timer after it; what it does not get is carried over to the next pass, as a
    // long frame's ticks are. A script that starts within the cap runs to its end. Once the pass
    // has used it all, the timers whose turn had not come are carried over whole, and the next pass
    // starts with them and comes round to the others after. So while what falls due plus the
    // running timers stay within it, every timer ticks as it falls due, in list order.
    static constexpr int kMaxTicksPerFrame = 10000;

    // Timer scripts run on `runner`.
    explicit TimerList(ScriptRunner& runner) : runner_(runner) {}
    TimerList(const TimerList&) = delete;
    TimerList& operator=(const TimerList&) = delete;

    // The first timer of that name, from the front, that has not been removed; null when none.
    ItemTimer* find(const std::string& name) const;
    // Appends a new timer at the back.
    ItemTimer* add(std::unique_ptr<ItemTimer> timer);
    // Starts the timer's run again: its end script, then a rewind and its init script. Stops early
    // when the end script removed the timer.
    void restart(ItemTimer& timer);
    // Removes the timer from the list, runs its end script and destroys it.
    void kill(ItemTimer& timer);

    // Advances every timer by dt seconds, running init, tick and end scripts as they fall due.
    void pass(double dt);
    // Shutdown: runs the end script of every remaining timer, in list order, and destroys it.
    // Timers that those end scripts create are destroyed without running any script.
    void shutdown();
    // Destroys every timer without running a script (a clean state for tests).
    void reset();

    void setTrace(trace::TraceSink* trace) { trace_ = trace; }

    // The timers in the list, removed ones excluded.
    std::size_t size() const;
    bool empty() const { return size() == 0; }

  private:
    // Held while code keeps a timer or a place in the list across a script run: removed timers are
    // destroyed only once no hold is left, so nobody is left with a dangling timer.
    class Hold {
      public:
        explicit Hold(TimerList& list) : list_(list) { ++list_.holds_; }
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        TimerList& list_;
    };

    // Marks the timer removed and takes it out of the name index.
    void remove(ItemTimer& timer);
    // Advances one timer, ticking while what it has cost stays below `allowance`; the cost (the
    // ticks done or the statements its scripts ran, whichever is more).
    std::int64_t advance(ItemTimer& timer, double dt, std::int64_t allowance);
    // The place in the list, among the first `count`, where the pass starts: the timer the last pass
    // was cut short at, or the next one after it, or the front.
    std::size_t startOfPass(std::size_t count) const;
    void run(const ItemTimer& timer, ItemTimer::Phase phase) { timer.run(phase, runner_, trace_); }

    std::vector<std::unique_ptr<ItemTimer>> timers_;  // creation order; removed entries until swept
    // The timers not removed, by name, each name's in creation order (so the first is the one found).
    std::unordered_map<std::string, std::vector<ItemTimer*>> byName_;
    std::uint64_t lastSerial_ = 0;  // of the latest timer added
    std::uint64_t resumeAt_ = 0;    // serial of the timer the last pass was cut short at; 0: none
    int holds_ = 0;
    std::size_t unswept_ = 0;  // removed timers still in the list
    ScriptRunner& runner_;
    trace::TraceSink* trace_ = nullptr;
};

}  // namespace qa::script
