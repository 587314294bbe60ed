// The attributes of each item: names the loader does not know, numbers that read as something else,
// show values that hide, the files it needs, and containers whose children the mouse cannot reach.
#pragma once

#include <vector>

#include "check/FileChecks.h"
#include "check/FindingReport.h"
#include "check/ItemTree.h"
#include "check/Places.h"

namespace qa::check {

class ItemChecks {
  public:
    ItemChecks(const ItemTree& tree, const Places& places, FileChecks& files, FindingReport& report);

    void checkItem(const ItemTree::Item& item);
    // Only the files the item needs: its picture, or its font sheet and text file.
    void checkFiles(const ItemTree::Item& item);

  private:
    void checkAttributeNames(const ItemTree::Item& item);
    void checkNumbers(const ItemTree::Item& item);
    void checkShow(const ItemTree::Item& item);
    void checkClickable(const ItemTree::Item& item);

    const Places& places_;
    FileChecks& files_;
    FindingReport& report_;
    bool valuesPlaced_;  // attribute names are checked only where places are known
    // Per item: the first item of its subtree below it with a script the mouse fires, or null.
    std::vector<const ItemTree::Item*> mouseTarget_;
};

}  // namespace qa::check
