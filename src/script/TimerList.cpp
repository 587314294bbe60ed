// The timer list: the pass, restarting, killing and shutdown.
#include "script/TimerList.h"

#include <algorithm>

#include "script/ScriptRunner.h"

namespace qa::script {

using Phase = ItemTimer::Phase;

TimerList::Hold::~Hold() {
    if (--list_.holds_ == 0 && list_.unswept_ > 0) {
        std::erase_if(list_.timers_, [](const std::unique_ptr<ItemTimer>& t) { return t->removed; });
        list_.unswept_ = 0;
    }
}

ItemTimer* TimerList::find(const std::string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : it->second.front();
}

ItemTimer* TimerList::add(std::unique_ptr<ItemTimer> timer) {
    timer->serial = ++lastSerial_;
    timers_.push_back(std::move(timer));
    ItemTimer* added = timers_.back().get();
    try {
        byName_[added->name].push_back(added);
    } catch (...) {
        timers_.pop_back();
        throw;
    }
    return added;
}

void TimerList::remove(ItemTimer& timer) {
    timer.removed = true;
    ++unswept_;
    auto it = byName_.find(timer.name);
    if (it == byName_.end()) return;
    std::erase(it->second, &timer);
    if (it->second.empty()) byName_.erase(it);
}

void TimerList::restart(ItemTimer& timer) {
    Hold hold(*this);
    run(timer, Phase::End);
    if (timer.removed) return;
    timer.rewind();
    run(timer, Phase::Init);
}

void TimerList::kill(ItemTimer& timer) {
    Hold hold(*this);
    // Out of the list first: the end script can no longer find the timer it ends.
    remove(timer);
    run(timer, Phase::End);
}

std::int64_t TimerList::advance(ItemTimer& t, double dt, std::int64_t allowance) {
    if (t.removed || t.finished()) return 0;
    const std::uint64_t statementsBefore = runner_.statementsRun();
    int ticks = 0;
    auto cost = [&] {
        return std::max<std::int64_t>(ticks,
                                      static_cast<std::int64_t>(runner_.statementsRun() - statementsBefore));
    };
    if (t.elapsed < 0) {
        run(t, Phase::Init);
        if (t.removed) return cost();
    }
    t.elapsed += dt;
    while (t.elapsed > t.period) {
        // The scripts may have changed the period: a period of 0 or less never leaves the loop by
        // itself, so such a timer ticks once per pass.
        if (ticks >= kMaxTicksPerPass || cost() >= allowance || (ticks > 0 && t.period <= 0)) break;
        ++ticks;
        t.counter += 1;
        t.elapsed -= t.period;
        run(t, Phase::Tick);
        if (t.removed) return cost();
        if (t.finished()) {
            run(t, Phase::End);
            return cost();
        }
    }
    return cost();
}

std::size_t TimerList::startOfPass(std::size_t count) const {
    if (resumeAt_ == 0) return 0;
    auto at = std::lower_bound(
        timers_.begin(), timers_.begin() + static_cast<std::ptrdiff_t>(count), resumeAt_,
        [](const std::unique_ptr<ItemTimer>& t, std::uint64_t serial) { return t->serial < serial; });
    const auto place = static_cast<std::size_t>(at - timers_.begin());
    return place < count ? place : 0;
}

void TimerList::pass(double dt) {
    Hold hold(*this);
    const std::size_t before = timers_.size();
    auto running = [](const ItemTimer& t) { return !t.removed && !t.finished(); };
    // The running timers after the one being advanced, counted once and then kept up to date (as
    // scripts create, kill and restart timers, the count is an estimate; it only divides the ticks).
    std::ptrdiff_t after =
        std::count_if(timers_.begin(), timers_.end(), [&](const auto& t) { return running(*t); });
    std::int64_t left = kMaxTicksPerFrame;
    // The timers there were when the pass began, from where the last pass was cut short round to
    // just before it, then those created during the pass. By place, not by iterator: scripts append
    // to the list while it is walked, and timers appended now are advanced in this same pass.
    const std::size_t start = startOfPass(before);
    resumeAt_ = 0;
    for (std::size_t step = 0; step < timers_.size(); ++step) {
        const std::size_t i = step < before ? (start + step) % before : step;
        if (i >= before && i - before >= kMaxNewTimersPerPass) break;
        ItemTimer& t = *timers_[i];
        if (!running(t)) continue;
        if (i < before) after = std::max<std::ptrdiff_t>(after - 1, 0);
        if (left <= 0) {
            // Carried over whole: a started timer keeps the time owed, one not started starts later.
            if (resumeAt_ == 0) resumeAt_ = t.serial;
            if (t.elapsed >= 0) t.elapsed += dt;
            continue;
        }
        left -= advance(t, dt, std::clamp<std::int64_t>(left - after, 1, kMaxTicksPerPass));
    }
}

void TimerList::shutdown() {
    {
        Hold hold(*this);
        const std::size_t before = timers_.size();
        for (std::size_t i = 0; i < before; ++i) {
            ItemTimer& t = *timers_[i];
            if (t.removed) continue;  // killed by an earlier end script, which ran its end script
            remove(t);
            run(t, Phase::End);
        }
    }
    timers_.clear();
    byName_.clear();
    unswept_ = 0;
    resumeAt_ = 0;
}

void TimerList::reset() {
    timers_.clear();
    byName_.clear();
    unswept_ = 0;
    resumeAt_ = 0;
}

std::size_t TimerList::size() const {
    return static_cast<std::size_t>(
        std::count_if(timers_.begin(), timers_.end(), [](const auto& t) { return !t->removed; }));
}

}  // namespace qa::script
