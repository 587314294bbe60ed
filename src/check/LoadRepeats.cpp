// onLoad scripts run more than once as the scene loads.
#include "check/LoadRepeats.h"

#include <string>

#include "scene/ImageItem.h"
#include "scene/Syntax.h"

namespace qa::check {

namespace {

// The first statement whose effect adds up when the script runs again within the same instant: a
// Change by an amount or a factor. Empty when running it again leaves the scene as once does (a sound
// or a track started again at the same instant is heard once; a timer set again starts at the same time).
std::string repeatingStatement(const std::string& script) {
    using scene::Syntax;
    for (const Syntax::Piece& statement : Syntax::statements(script)) {
        const auto [word, argument] = Syntax::commandOf(statement);
        // Change NAME PROPERTY +N (or -N, *N) moves on at every run; =N sets the same value again.
        if (word.text == "Change") {
            const std::string afterName = Syntax::splitWord(argument.text).second;
            const std::string value = Syntax::splitWord(Syntax::splitWord(afterName).second).first;
            if (!value.empty() && (value[0] == '+' || value[0] == '-' || value[0] == '*'))
                return statement.text;
        }
    }
    return {};
}

}  // namespace

bool LoadRepeats::runItemScript(const std::string& script, Vec3 position, scene::ImageItem* item) {
    if (depth_ == 0 && item && *item->script(scene::Event::onLoad) == script) {
        const auto at = static_cast<std::size_t>(item->index);
        if (at >= runs_.size()) runs_.resize(at + 1, 0);
        ++runs_[at];
    }
    ++depth_;
    const bool handled = inner_.runItemScript(script, position, item);
    --depth_;
    return handled;
}

void LoadRepeats::report(const ItemTree& tree, const Places& places, FindingReport& report) const {
    for (std::size_t i = 0; i < runs_.size() && i < tree.items().size(); ++i) {
        if (runs_[i] < 2) continue;
        const ItemTree::Item& item = *tree.items()[i];
        std::string script;
        item.attribute(scene::eventName(scene::Event::onLoad), script);
        const std::string statement = repeatingStatement(script);
        if (statement.empty()) continue;
        Finding f = places.value(Severity::Warning, item, scene::eventName(scene::Event::onLoad), 0);
        f.code = "load-repeats";
        const int passed = runs_[i] - 1;
        f.message = "runs " + std::to_string(runs_[i]) + " times as the scene loads, so " +
                    Finding::quoted(statement) + " adds up " + std::to_string(runs_[i]) +
                    " times: once for the item and once for each of the " + std::to_string(passed) + " item" +
                    (passed == 1 ? "" : "s") +
                    " inside it that pass their onLoad up (an item whose onLoad is missing or does nothing "
                    "passes it to its "
                    "parent)";
        report.add(std::move(f));
    }
}

}  // namespace qa::check
