// Checks a disk the way an author wants: everything the scene document says that will not do what
// it looks like it does, each with its place, as errors (the disk does not work as written) and
// warnings (it works here, or works but probably not as meant).
#pragma once

#include <string>
#include <vector>

#include "check/DryRun.h"
#include "check/FindingReport.h"

namespace qa::check {

class SceneChecker {
  public:
    // The command words scripts may use; the dry run, when given, runs the scene in an engine.
    SceneChecker(std::vector<std::string> commandWords, DryRun* dryRun);

    // Checks the disk in the current folder.
    FindingReport check();

    // Only the pictures, font sheets and text files the items of the disk in the current folder name
    // that do not exist (or are folders), each as a warning: what an author who watches the disk is
    // told about items that would otherwise stay invisible. Nothing when the document cannot be read
    // or parsed (loading it says why).
    static FindingReport missingItemFiles();

  private:
    std::vector<std::string> commandWords_;
    DryRun* dryRun_;
};

}  // namespace qa::check
