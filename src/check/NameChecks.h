// Items that share a name: which of them the scripts' lookups reach, and where the other one is.
#pragma once

#include "check/FindingReport.h"
#include "check/ItemTree.h"
#include "check/Places.h"

namespace qa::check {

class NameChecks {
  public:
    // One warning at the name of each item that bears a name an earlier item bears already.
    static void check(const ItemTree& tree, const Places& places, FindingReport& report);
};

}  // namespace qa::check
