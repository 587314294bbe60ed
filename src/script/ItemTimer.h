// One named timer: a tick script run at a fixed period for a limited number of repeats, with an init
// script before the first tick of a run and an end script after the last.
#pragma once

#include <cstdint>
#include <string>

namespace qa::trace {
class TraceSink;
}

namespace qa::script {

class ScriptRunner;

class ItemTimer {
  public:
    // The elapsed time of a run that has not started yet.
    static constexpr double kNotStarted = -0.0001;

    enum class Phase { Init, Tick, End };

    ItemTimer(std::string name, double period, std::int32_t limit, std::string tickScript);

    // A run has limit + 1 ticks; after them the timer is finished and the pass skips it.
    bool finished() const { return counter > limit; }
    // Back to the start of a run: no ticks done, not started.
    void rewind() {
        counter = 0;
        elapsed = kNotStarted;
    }
    // Runs a copy of the phase's script as a plain script, announcing it to the trace (if any) first.
    void run(Phase phase, ScriptRunner& runner, trace::TraceSink* trace) const;

    std::string name;
    double period;
    std::int32_t limit;
    std::string tickScript;
    std::string endScript;
    std::string initScript;
    // Ticks done in the current run. Wider than the limit so that a run with the largest limit still
    // ends instead of overflowing.
    std::int64_t counter = 0;
    double elapsed = kNotStarted;
    // Removed from the timer list (killed, or ended by shutdown): no command finds it any more and
    // no one touches it again; the list destroys it once no timer walk holds it.
    bool removed = false;
    // Its place in the order timers were added (the list gives it; later timers have larger ones).
    std::uint64_t serial = 0;
};

}  // namespace qa::script
