// Counts how often each item's onLoad script runs while the scene loads: an item whose own onLoad
// does not handle the event passes it to its parent, so a parent's onLoad runs once for itself and
// once more for each such item inside it.
#pragma once

#include <vector>

#include "check/FindingReport.h"
#include "check/ItemTree.h"
#include "check/Places.h"
#include "scene/ScriptHook.h"

namespace qa::check {

class LoadRepeats : public scene::ScriptHook {
  public:
    // Runs every script through `inner`, counting the onLoad scripts run from outside any script.
    explicit LoadRepeats(scene::ScriptHook& inner) : inner_(inner) {}

    bool runItemScript(const std::string& script, Vec3 position, scene::ImageItem* item) override;

    // One warning at the onLoad of each item whose script ran more than once and holds a command
    // whose effect adds up (a change by an amount).
    void report(const ItemTree& tree, const Places& places, FindingReport& report) const;

  private:
    scene::ScriptHook& inner_;
    int depth_ = 0;
    std::vector<int> runs_;  // by construction index
};

}  // namespace qa::check
