// The command registration order.
#include "script/Commands.h"

#include "script/AppCommands.h"
#include "script/CommandTable.h"
#include "script/ItemCommands.h"
#include "script/SoundCommands.h"
#include "script/TimerCommands.h"

namespace qa::script {

void Commands::registerAll() {
    CommandTable& t = commandTable();
    t.registerCommand("", nullptr);
    t.registerCommand("PlayTrack", &SoundCommands::playTrack);
    t.registerCommand("PlaySfx", &SoundCommands::playSfx);
    t.registerCommand("ExitApp", &AppCommands::exitApp);
    t.registerCommand("Activate", &ItemCommands::activate);
    t.registerCommand("ActivateSingle", &ItemCommands::activateSingle);
    t.registerCommand("Hide", &ItemCommands::hide);
    t.registerCommand("PauseTrack", &SoundCommands::pauseTrack);
    t.registerCommand("Change", &ItemCommands::change);
    t.registerCommand("SetTimer", &TimerCommands::setTimer);
    t.registerCommand("ResetTimer", &TimerCommands::resetTimer);
    t.registerCommand("SetTimerInit", &TimerCommands::setTimerInit);
    t.registerCommand("SetTimerEnd", &TimerCommands::setTimerEnd);
    t.registerCommand("KillTimer", &TimerCommands::killTimer);
}

}  // namespace qa::script
