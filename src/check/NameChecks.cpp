// Names given twice.
#include "check/NameChecks.h"

#include <map>
#include <string>
#include <vector>

namespace qa::check {

namespace {

std::string where(const Finding& f) {
    return "line " + std::to_string(f.line) + ", column " + std::to_string(f.column);
}

}  // namespace

void NameChecks::check(const ItemTree& tree, const Places& places, FindingReport& report) {
    std::map<std::string, std::vector<const ItemTree::Item*>> byName;
    for (const auto& item : tree.items())
        if (!item->name.empty()) byName[item->name].push_back(item.get());
    for (const auto& [name, items] : byName) {
        if (items.size() < 2) continue;
        const ItemTree::Item* first = items.front();
        const Finding firstPlace = places.value(Severity::Warning, *first, "name", 0);
        for (std::size_t i = 1; i < items.size(); ++i) {
            const ItemTree::Item& item = *items[i];
            Finding f = places.value(Severity::Warning, item, "name", 0);
            f.code = "duplicate-name";
            std::string reach;
            if (item.parent == first->parent) {
                // Activate, ActivateSingle and Hide take the front one of a sibling list: the first
                // root item written, or the last child written (until something is raised).
                const bool root = item.parent == nullptr;
                const ItemTree::Item* front = &item;
                for (const ItemTree::Item* other : items)
                    if (other->parent == item.parent &&
                        (root ? other->index < front->index : other->index > front->index))
                        front = other;
                reach = "Activate, ActivateSingle and Hide reach " +
                        (front == &item
                             ? std::string("this one")
                             : "the one at " + where(places.value(Severity::Warning, *front, "name", 0))) +
                        " (the " + (root ? "first root item" : "last child") + " of that name)";
            } else {
                reach = "Activate, ActivateSingle and Hide reach the one nearer the script's item";
            }
            const ItemTree::Item* last = items.back();
            reach +=
                ", Change from elsewhere reaches " +
                (last == &item ? std::string("this one")
                               : "the one at " + where(places.value(Severity::Warning, *last, "name", 0))) +
                " (the last built)";
            f.message = "the name " + Finding::quoted(name) + " is given already at " + where(firstPlace) +
                        ": " + reach;
            report.add(std::move(f));
        }
    }
}

}  // namespace qa::check
