// Following the nesting of scripts and keeping each distinct cut.
#include "check/ScriptChain.h"

#include <algorithm>
#include <tuple>

#include "scene/ImageItem.h"
#include "script/ScriptRunner.h"

namespace qa::check {

bool ScriptChain::Step::operator<(const Step& o) const {
    return std::tie(item, event, timer, phase) < std::tie(o.item, o.event, o.timer, o.phase);
}

bool ScriptChain::runItemScript(const std::string& script, platform::Vec3 position, scene::ImageItem* item) {
    Step step;
    step.item = item ? item->index : -1;
    // Items run a copy of one of their scripts; which one is found by its text.
    for (int e = 1; item && e <= scene::ImageItem::kEventCount; ++e) {
        if (*item->script(e) == script) {
            step.event = e;
            break;
        }
    }
    steps_.push_back(step);
    const bool handled = inner_.runItemScript(script, position, item);
    steps_.pop_back();
    return handled;
}

void ScriptChain::runTimerScript(const std::string& timer, const char* phase, const std::string& script) {
    if (script.empty()) return;
    Step step;
    step.timer = timer;
    step.phase = phase;
    steps_.push_back(step);
    script::ScriptRunner::runScript(script);
    steps_.pop_back();
}

void ScriptChain::cut(const std::string& statement, const char* reason) {
    Cut c;
    c.statement = statement;
    c.depth = std::string(reason) == "depth";
    // The chain up to the first step that repeats an earlier one.
    std::size_t end = steps_.size(), from = 0;
    for (std::size_t j = 1; j < steps_.size() && end == steps_.size(); ++j) {
        for (std::size_t i = 0; i < j; ++i) {
            if (steps_[i] == steps_[j]) {
                from = i;
                end = j;
                break;
            }
        }
    }
    if (end < steps_.size()) {
        c.chain.assign(steps_.begin(), steps_.begin() + static_cast<std::ptrdiff_t>(end) + 1);
        c.cycle.assign(steps_.begin() + static_cast<std::ptrdiff_t>(from),
                       steps_.begin() + static_cast<std::ptrdiff_t>(end));
    } else {
        c.chain = steps_;
        c.cycle = steps_;
    }
    std::sort(c.cycle.begin(), c.cycle.end());
    c.cycle.erase(std::unique(c.cycle.begin(), c.cycle.end()), c.cycle.end());
    auto inCycle = [](const Cut& x) {
        return !x.chain.empty() && std::binary_search(x.cycle.begin(), x.cycle.end(), x.chain.front());
    };
    auto it = cuts_.find(c.cycle);
    if (it == cuts_.end()) {
        order_.push_back(c.cycle);
        cuts_.emplace(c.cycle, std::move(c));
    } else if (!inCycle(it->second) && inCycle(c)) {
        it->second = std::move(c);
    }
}

std::vector<ScriptChain::Cut> ScriptChain::cuts() const {
    std::vector<Cut> out;
    for (const auto& key : order_) out.push_back(cuts_.at(key));
    return out;
}

}  // namespace qa::check
