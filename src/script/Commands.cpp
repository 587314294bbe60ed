// The command registration order.
#include "script/Commands.h"

#include "script/CommandTable.h"

namespace qa::script {

namespace {
// A handler that calls `method` on `set`.
template <class Set>
CommandHandler bind(Set& set, bool (Set::*method)(std::string, Vec3, scene::ImageItem*)) {
    return [&set, method](std::string argument, Vec3 position, scene::ImageItem* item) {
        return (set.*method)(std::move(argument), position, item);
    };
}
}  // namespace

void Commands::registerAll(CommandTable& t) {
    t.registerCommand("", nullptr);
    t.registerCommand("PlayTrack", bind(sound, &SoundCommands::playTrack));
    t.registerCommand("PlaySfx", bind(sound, &SoundCommands::playSfx));
    t.registerCommand("ExitApp", bind(app, &AppCommands::exitApp));
    t.registerCommand("Activate", bind(items, &ItemCommands::activate));
    t.registerCommand("ActivateSingle", bind(items, &ItemCommands::activateSingle));
    t.registerCommand("Hide", bind(items, &ItemCommands::hide));
    t.registerCommand("PauseTrack", bind(sound, &SoundCommands::pauseTrack));
    t.registerCommand("Change", bind(items, &ItemCommands::change));
    t.registerCommand("SetTimer", bind(timers, &TimerCommands::setTimer));
    t.registerCommand("ResetTimer", bind(timers, &TimerCommands::resetTimer));
    t.registerCommand("SetTimerInit", bind(timers, &TimerCommands::setTimerInit));
    t.registerCommand("SetTimerEnd", bind(timers, &TimerCommands::setTimerEnd));
    t.registerCommand("KillTimer", bind(timers, &TimerCommands::killTimer));
}

}  // namespace qa::script
