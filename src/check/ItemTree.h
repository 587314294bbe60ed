// The items a scene document builds, read from the parsed document without building them: which
// elements become items and where they hang, their construction order, their attributes and where
// those are written, and the name lookups that scripts make.
#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/XmlDocument.h"

namespace qa::check {

class ItemTree {
  public:
    struct Item {
        platform::XmlNode element;
        int index = 0;  // construction order, from 0
        std::string name;
        Item* parent = nullptr;
        std::vector<Item*> children;  // in document order (the last is the topmost)
        // The attribute's value; absent and empty are the same (false).
        bool attribute(const char* attributeName, std::string& value) const;
        bool textItem() const;  // a non-empty font makes a text item
    };

    explicit ItemTree(const platform::XmlDocument& document);

    // Whether places inside the items' attribute values can be told: every item's start tag stands
    // in the document's own eight-bit text (markup from an entity would leave its places unknown).
    bool valuesPlaced() const { return valuesPlaced_; }

    // Every item, in construction order.
    const std::vector<std::unique_ptr<Item>>& items() const { return items_; }
    const std::vector<Item*>& roots() const { return roots_; }
    // Elements that look like items but are not: other spellings of "item" (their element, for places).
    const std::vector<platform::XmlNode>& misspeltElements() const { return misspelt_; }

    // Whether Activate, ActivateSingle or Hide in a script of `from` (null: a timer script) finds the
    // name: the item's children, its siblings, its parent's siblings and so on up to the root items.
    // Unnamed items are not entered: an empty name is never found here.
    bool reachable(const std::string& name, const Item* from) const;
    // The names that lookup can find, nearest first (for suggestions).
    std::vector<std::string> reachableNames(const Item* from) const;
    // Whether any item bears the name (Change falls back on the item name map, which holds them all).
    bool named(const std::string& name) const { return allNames_.count(name) != 0; }
    const std::vector<std::string>& names() const { return nameList_; }

  private:
    const std::unordered_set<std::string>& childNames(const Item* parent) const;

    std::vector<std::unique_ptr<Item>> items_;
    std::vector<Item*> roots_;
    std::vector<platform::XmlNode> misspelt_;
    std::vector<std::unordered_set<std::string>> childNames_;  // by item index
    std::unordered_set<std::string> rootNames_;
    std::unordered_set<std::string> allNames_;
    std::vector<std::string> nameList_;  // every name once, in construction order
    bool valuesPlaced_ = false;
};

}  // namespace qa::check
