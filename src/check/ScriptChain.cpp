// Following the nesting of scripts and keeping each distinct cut.
#include "check/ScriptChain.h"

#include <algorithm>
#include <iterator>
#include <tuple>

#include "scene/ImageItem.h"
#include "script/ScriptRunner.h"

namespace qa::check {

bool ScriptChain::Step::operator<(const Step& o) const {
    return std::tie(item, event, timer, phase) < std::tie(o.item, o.event, o.timer, o.phase);
}

bool ScriptChain::runItemScript(const std::string& script, Vec3 position, scene::ImageItem* item) {
    Step step;
    step.item = item ? item->index : -1;
    // Items run a copy of one of their scripts; which one is found by its text, among the events that
    // can be firing here first.
    using scene::Event;
    std::vector<Event> likely{Event::onActivate, Event::onHide};
    if (steps_.empty()) likely = outerEvent_ ? std::vector<Event>{*outerEvent_} : std::vector<Event>{};
    for (Event e : likely) {
        if (item && *item->script(e) == script) {
            step.event = e;
            break;
        }
    }
    // Else the first event, by number, whose script is this one.
    for (Event e : scene::kEventsInNumberOrder) {
        if (item && !step.event && *item->script(e) == script) step.event = e;
    }
    steps_.push_back(step);
    const bool handled = runner_.runItemScript(script, position, item);
    steps_.pop_back();
    return handled;
}

void ScriptChain::runTimerScript(const std::string& timer, const char* phase, const std::string& script) {
    if (script.empty()) return;
    Step step;
    step.timer = timer;
    step.phase = phase;
    steps_.push_back(step);
    runner_.runScript(script);
    steps_.pop_back();
}

ScriptChain::TimerStep::TimerStep(ScriptChain& chain, const std::string& timer) : chain_(chain) {
    Step step;
    step.timer = timer;
    chain_.steps_.push_back(step);
}

ScriptChain::TimerStep::~TimerStep() {
    chain_.steps_.pop_back();
}

void ScriptChain::timer(const std::string& name, const char* phase) {
    // The script about to run belongs to the timer command's step.
    if (!steps_.empty() && steps_.back().item < 0 && steps_.back().timer == name) steps_.back().phase = phase;
}

int ScriptChain::rank(const Cut& cut) const {
    const bool fromItem = !cut.chain.empty() && cut.chain.front().item >= 0;
    const bool inCycle =
        !cut.chain.empty() && std::binary_search(cut.cycle.begin(), cut.cycle.end(), cut.chain.front());
    return (fromItem ? 0 : 2) + (inCycle ? 0 : 1);
}

void ScriptChain::cut(const std::string& statement, const char* reason) {
    if (steps_.empty()) return;
    if (lastCut_ < cuts_.size() && steps_.front() == lastOuter_ &&
        std::binary_search(cuts_[lastCut_].cycle.begin(), cuts_[lastCut_].cycle.end(), steps_.back()))
        return;
    lastOuter_ = steps_.front();
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
    for (Cut& known : cuts_) {
        std::vector<Step> common;
        std::set_intersection(known.cycle.begin(), known.cycle.end(), c.cycle.begin(), c.cycle.end(),
                              std::back_inserter(common));
        if (common.empty()) continue;
        std::vector<Step> both;
        std::set_union(known.cycle.begin(), known.cycle.end(), c.cycle.begin(), c.cycle.end(),
                       std::back_inserter(both));
        if (rank(c) < rank(known)) known = std::move(c);
        known.cycle = std::move(both);
        lastCut_ = static_cast<std::size_t>(&known - cuts_.data());
        return;
    }
    cuts_.push_back(std::move(c));
    lastCut_ = cuts_.size() - 1;
}

std::vector<ScriptChain::Cut> ScriptChain::cuts() const {
    return cuts_;
}

}  // namespace qa::check
