// The dry run in an engine of its own: the scene is loaded into a fresh engine::Engine whose sound
// library is never started, with a device that decodes pictures but draws nothing.
#pragma once

#include "check/DryRun.h"

namespace qa::check {

class EngineDryRun : public DryRun {
  public:
    std::vector<std::string> commandWords() override;
    void run(const ItemTree& tree, const Places& places, const std::vector<ScriptChecks::TimerSource>& timers,
             FindingReport& report) override;

    // Statements the whole dry run may dispatch before it stops firing events: a scene whose every
    // event fans out to the script runner's limit would otherwise keep the check busy for minutes.
    static constexpr long kMaxStatements = 10000000;
};

}  // namespace qa::check
