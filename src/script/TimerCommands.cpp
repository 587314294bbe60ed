// Timer commands.
#include "script/TimerCommands.h"

#include <memory>

#include "scene/NumberText.h"
#include "scene/Syntax.h"
#include "script/TimerList.h"

namespace qa::script {

bool TimerCommands::setTimer(std::string argument, Vec3, scene::ImageItem*) {
    scene::Syntax::TimerArguments words = scene::Syntax::timerArguments({std::move(argument), 0});
    std::string name = std::move(words.name.text);
    std::string tick = scene::Syntax::tickScript(std::move(words.tick.text));
    const double period = scene::textToDouble(words.period.text);
    const std::int32_t limit = scene::textToInt(words.limit.text);

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

bool TimerCommands::resetTimer(std::string argument, Vec3, scene::ImageItem*) {
    TimerList& list = timers_;
    ItemTimer* t = list.find(argument);
    if (!t) return false;
    list.restart(*t);
    return true;
}

bool TimerCommands::setTimerInit(std::string argument, Vec3, scene::ImageItem*) {
    auto [name, script] = scene::Syntax::splitWord(argument);
    ItemTimer* t = timers_.find(name);
    if (!t) return false;
    t->initScript = std::move(script);
    return true;
}

bool TimerCommands::setTimerEnd(std::string argument, Vec3, scene::ImageItem*) {
    auto [name, script] = scene::Syntax::splitWord(argument);
    ItemTimer* t = timers_.find(name);
    if (!t) return false;
    t->endScript = std::move(script);
    return true;
}

bool TimerCommands::killTimer(std::string argument, Vec3, scene::ImageItem*) {
    TimerList& list = timers_;
    ItemTimer* t = list.find(argument);
    if (!t) return false;
    list.kill(*t);
    return true;
}

}  // namespace qa::script
