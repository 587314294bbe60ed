// Timer records and the running of their scripts.
#include "script/ItemTimer.h"

#include <utility>

#include "script/ScriptRunner.h"
#include "trace/TraceSink.h"

namespace qa::script {

ItemTimer::ItemTimer(std::string name, double period, std::int32_t limit, std::string tickScript)
    : name(std::move(name)), period(period), limit(limit), tickScript(std::move(tickScript)) {}

void ItemTimer::run(Phase phase, ScriptRunner& runner, trace::TraceSink* trace) const {
    const char* word = phase == Phase::Init ? "init" : phase == Phase::Tick ? "tick" : "end";
    const std::string& stored = phase == Phase::Init   ? initScript
                                : phase == Phase::Tick ? tickScript
                                                       : endScript;
    if (trace) trace->timer(name, word);
    // The script may replace the stored text, or remove this timer, while it runs.
    runner.runScript(stored);
}

}  // namespace qa::script
