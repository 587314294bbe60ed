// Which elements become items, in the loader's order, matched to their start tags in the text.
#include "check/ItemTree.h"

#include <cctype>

namespace qa::check {

using platform::XmlNode;

namespace {

bool isItem(const XmlNode& n) {
    return n.isElement() && n.name() == "item";
}

bool looksLikeItem(const XmlNode& n) {
    if (!n.isElement()) return false;
    std::string name = n.name();
    if (name == "item" || name.size() != 4) return false;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name == "item";
}

}  // namespace

bool ItemTree::Item::attribute(const char* attributeName, std::string& value) const {
    value.clear();
    return element.attribute(attributeName, value) && !value.empty();
}

bool ItemTree::Item::textItem() const {
    std::string font;
    return attribute("font", font);
}

ItemTree::ItemTree(const platform::XmlDocument& document) {
    // Every element in document order; for each `item` element its parent element's record and
    // whether that parent is an item.
    struct Record {
        XmlNode element;
        std::size_t ordinal;
        long parent;  // record index of the parent element when it is an item, else -1
        bool built = false;
        Item* item = nullptr;
    };
    std::vector<Record> records;
    const XmlNode root = document.documentElement();
    // A pre-order walk of every element: document order.
    std::vector<std::pair<XmlNode, long>> walk;  // node, its parent's record when that is an item
    if (root.valid()) walk.push_back({root, -1});
    std::vector<XmlNode> kids;
    while (!walk.empty()) {
        auto [node, parentRecord] = walk.back();
        walk.pop_back();
        long self = -1;
        if (isItem(node)) {
            self = static_cast<long>(records.size());
            Record r{node, records.size(), parentRecord};
            // The root element is never built, even when it is named "item"; an item whose parent is
            // not an item is a root item; any other is built when its parent is.
            if (!(node == root))
                r.built = parentRecord < 0 || records[static_cast<std::size_t>(parentRecord)].built;
            records.push_back(r);
        } else if (looksLikeItem(node)) {
            misspelt_.push_back(node);
        }
        kids.clear();
        for (XmlNode c = node.firstChild(); c.valid(); c = c.nextSibling())
            if (c.isElement()) kids.push_back(c);
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) walk.push_back({*it, self});
    }

    valuesPlaced_ = !document.wideText();
    for (const Record& r : records) valuesPlaced_ = valuesPlaced_ && r.element.written();

    // Build order: each root item's subtree depth first, root items in document order.
    std::vector<std::vector<std::size_t>> kidsOf(records.size());
    std::vector<std::size_t> rootRecords;
    for (std::size_t r = 0; r < records.size(); ++r) {
        if (!records[r].built) continue;
        if (records[r].parent < 0) {
            rootRecords.push_back(r);
        } else {
            kidsOf[static_cast<std::size_t>(records[r].parent)].push_back(r);
        }
    }
    for (std::size_t top : rootRecords) {
        std::vector<std::pair<std::size_t, Item*>> order{{top, nullptr}};
        while (!order.empty()) {
            auto [r, parent] = order.back();
            order.pop_back();
            auto item = std::make_unique<Item>();
            item->element = records[r].element;
            item->index = static_cast<int>(items_.size());
            item->attribute("name", item->name);
            item->parent = parent;
            if (parent) {
                parent->children.push_back(item.get());
            } else {
                roots_.push_back(item.get());
            }
            records[r].item = item.get();
            items_.push_back(std::move(item));
            const auto& kids = kidsOf[r];
            for (auto it = kids.rbegin(); it != kids.rend(); ++it) order.push_back({*it, records[r].item});
        }
    }

    childNames_.resize(items_.size());
    for (const auto& item : items_) {
        if (item->name.empty()) continue;
        if (item->parent) {
            childNames_[static_cast<std::size_t>(item->parent->index)].insert(item->name);
        } else {
            rootNames_.insert(item->name);
        }
        if (allNames_.insert(item->name).second) nameList_.push_back(item->name);
    }
}

const std::unordered_set<std::string>& ItemTree::childNames(const Item* parent) const {
    return parent ? childNames_[static_cast<std::size_t>(parent->index)] : rootNames_;
}

bool ItemTree::reachable(const std::string& name, const Item* from) const {
    for (const Item* at = from;; at = at->parent) {
        if (childNames(at).count(name)) return true;
        if (!at) return false;
    }
}

std::vector<std::string> ItemTree::reachableNames(const Item* from) const {
    std::vector<std::string> out;
    std::unordered_set<std::string> seen;
    for (const Item* at = from;; at = at->parent) {
        const std::vector<Item*>& list = at ? at->children : roots_;
        for (const Item* i : list)
            if (!i->name.empty() && seen.insert(i->name).second) out.push_back(i->name);
        if (!at) break;
    }
    return out;
}

}  // namespace qa::check
