// Timer commands.
#include "script/TimerCommands.h"

#include <algorithm>
#include <memory>

#include "scene/NumberText.h"
#include "script/ScriptRunner.h"
#include "script/TimerList.h"

namespace qa::script {

bool TimerCommands::setTimer(std::string argument, platform::Vec3, scene::ImageItem*) {
    auto [name, afterName] = ScriptRunner::splitWord(argument);
    auto [periodWord, afterPeriod] = ScriptRunner::splitWord(afterName);
    auto [limitWord, tick] = ScriptRunner::splitWord(afterPeriod);
    // A ";" would have ended the SetTimer statement itself, so the tick script writes "|" instead.
    std::replace(tick.begin(), tick.end(), '|', ';');
    const double period = scene::textToDouble(periodWord);
    const std::int32_t limit = scene::textToInt(limitWord);

    TimerList& list = timers_;
    if (ItemTimer* t = list.find(name)) {
        t->period = period;
        t->limit = limit;
        t->tickScript = std::move(tick);
        list.restart(*t);
    } else {
        list.add(std::make_unique<ItemTimer>(std::move(name), period, limit, std::move(tick)));
    }
    return true;
}

bool TimerCommands::resetTimer(std::string argument, platform::Vec3, scene::ImageItem*) {
    TimerList& list = timers_;
    ItemTimer* t = list.find(argument);
    if (!t) return false;
    list.restart(*t);
    return true;
}

bool TimerCommands::setTimerInit(std::string argument, platform::Vec3, scene::ImageItem*) {
    auto [name, script] = ScriptRunner::splitWord(argument);
    ItemTimer* t = timers_.find(name);
    if (!t) return false;
    t->initScript = std::move(script);
    return true;
}

bool TimerCommands::setTimerEnd(std::string argument, platform::Vec3, scene::ImageItem*) {
    auto [name, script] = ScriptRunner::splitWord(argument);
    ItemTimer* t = timers_.find(name);
    if (!t) return false;
    t->endScript = std::move(script);
    return true;
}

bool TimerCommands::killTimer(std::string argument, platform::Vec3, scene::ImageItem*) {
    TimerList& list = timers_;
    ItemTimer* t = list.find(argument);
    if (!t) return false;
    list.kill(*t);
    return true;
}

}  // namespace qa::script
