// Timer records and the running of their scripts.
#include "script/ItemTimer.h"

#include <utility>

#include "platform/TraceSink.h"
#include "script/ScriptRunner.h"

namespace qa::script {

ItemTimer::ItemTimer(std::string name, double period, std::int32_t limit, std::string tickScript)
    : name(std::move(name)), period(period), limit(limit), tickScript(std::move(tickScript)) {}

void ItemTimer::run(Phase phase) const {
    const char* word = phase == Phase::Init ? "init" : phase == Phase::Tick ? "tick" : "end";
    const std::string& stored = phase == Phase::Init   ? initScript
                                : phase == Phase::Tick ? tickScript
                                                       : endScript;
    if (platform::TraceSink* trace = platform::TraceSink::current()) trace->timer(name, word);
    // The script may replace the stored text, or remove this timer, while it runs.
    ScriptRunner::runScript(stored);
}

}  // namespace qa::script
