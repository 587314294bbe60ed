// Every script command set, bound to what it acts on, and their registration in the fixed order of
// start-up.
#pragma once

#include "script/AppCommands.h"
#include "script/ItemCommands.h"
#include "script/SoundCommands.h"
#include "script/TimerCommands.h"

namespace qa::script {

class CommandTable;

class Commands {
  public:
    Commands(scene::SceneState& scene, TimerList& timers, sound::TrackList& tracks)
        : items(scene), timers(timers), sound(tracks) {}

    // Fills the table: the empty word with no handler, then the thirteen commands, each calling
    // the command set it belongs to.
    void registerAll(CommandTable& table);

    ItemCommands items;
    TimerCommands timers;
    SoundCommands sound;
    AppCommands app;
};

}  // namespace qa::script
