// The dry run on the engine of the process: the scene is loaded into the process-wide scene state
// (emptied before and after), with a device that decodes pictures but draws nothing.
#pragma once

#include "check/DryRun.h"

namespace qa::check {

class SceneDryRun : public DryRun {
  public:
    std::vector<std::string> commandWords() override;
    void run(const ItemTree& tree, const Places& places, const std::vector<std::string>& timerNames,
             FindingReport& report) override;
};

}  // namespace qa::check
