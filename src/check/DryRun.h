// What the checker needs from a running engine: the command words it knows, and a dry run of the
// scene in a fresh engine (no sound, no drawing) that fires every event of every item once and
// reports the scripts that trigger each other without end.
#pragma once

#include <string>
#include <vector>

#include "check/FindingReport.h"
#include "check/ItemTree.h"
#include "check/Places.h"
#include "check/ScriptChecks.h"

namespace qa::check {

class DryRun {
  public:
    virtual ~DryRun() = default;

    // Every command word of the engine's command table (the empty word included).
    virtual std::vector<std::string> commandWords() = 0;

    // Loads the disk's scene in the current folder into a fresh engine; fires every event of every item
    // once (onLoad: as the scene loads), in construction order, then runs the init, tick and end scripts
    // of each timer once; reports each distinct endless chain that the script runner cut, and texts
    // whose last word is not wrapped for want of a final line end. `tree` names the same items by
    // construction index; a chain that starts in a timer is reported where its SetTimer is written.
    virtual void run(const ItemTree& tree, const Places& places,
                     const std::vector<ScriptChecks::TimerSource>& timers, FindingReport& report) = 0;
};

}  // namespace qa::check
