// The timer list: the pass, restarting, killing and shutdown.
#include "script/TimerList.h"

#include <algorithm>

namespace qa::script {

using Phase = ItemTimer::Phase;

TimerList::Hold::~Hold() {
    if (--list_.holds_ == 0) {
        std::erase_if(list_.timers_, [](const std::unique_ptr<ItemTimer>& t) { return t->removed; });
    }
}

ItemTimer* TimerList::find(const std::string& name) const {
    for (const auto& t : timers_) {
        if (!t->removed && t->name == name) return t.get();
    }
    return nullptr;
}

ItemTimer* TimerList::add(std::unique_ptr<ItemTimer> timer) {
    timers_.push_back(std::move(timer));
    return timers_.back().get();
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
    timer.removed = true;
    run(timer, Phase::End);
}

int TimerList::advance(ItemTimer& t, double dt, int allowance) {
    if (t.removed || t.finished()) return 0;
    if (t.elapsed < 0) {
        run(t, Phase::Init);
        if (t.removed) return 0;
    }
    t.elapsed += dt;
    int ticks = 0;
    while (t.elapsed > t.period) {
        // The scripts may have changed the period: a period of 0 or less never leaves the loop by
        // itself, so such a timer ticks once per pass.
        if (ticks >= allowance || (ticks > 0 && t.period <= 0)) break;
        ++ticks;
        t.counter += 1;
        t.elapsed -= t.period;
        run(t, Phase::Tick);
        if (t.removed) return ticks;
        if (t.finished()) {
            run(t, Phase::End);
            return ticks;
        }
    }
    return ticks;
}

void TimerList::pass(double dt) {
    Hold hold(*this);
    const std::size_t before = timers_.size();
    auto running = [](const ItemTimer& t) { return !t.removed && !t.finished(); };
    // The running timers after the one being advanced, counted once and then kept up to date (as
    // scripts create, kill and restart timers, the count is an estimate; it only divides the ticks).
    std::ptrdiff_t after =
        std::count_if(timers_.begin(), timers_.end(), [&](const auto& t) { return running(*t); });
    std::ptrdiff_t ticksLeft = kMaxTicksPerFrame;
    // By place, not by iterator: scripts append to the list while it is walked, and timers appended
    // now are advanced in this same pass.
    for (std::size_t i = 0; i < timers_.size(); ++i) {
        if (i >= before && i - before >= kMaxNewTimersPerPass) break;
        ItemTimer& t = *timers_[i];
        if (!running(t)) continue;
        if (i < before) after = std::max<std::ptrdiff_t>(after - 1, 0);
        const std::ptrdiff_t allowance = std::clamp<std::ptrdiff_t>(ticksLeft - after, 1, kMaxTicksPerPass);
        ticksLeft -= advance(t, dt, static_cast<int>(allowance));
    }
}

void TimerList::shutdown() {
    {
        Hold hold(*this);
        const std::size_t before = timers_.size();
        for (std::size_t i = 0; i < before; ++i) {
            ItemTimer& t = *timers_[i];
            if (t.removed) continue;  // killed by an earlier end script, which ran its end script
            t.removed = true;
            run(t, Phase::End);
        }
    }
    timers_.clear();
}

void TimerList::reset() {
    timers_.clear();
}

std::size_t TimerList::size() const {
    return static_cast<std::size_t>(
        std::count_if(timers_.begin(), timers_.end(), [](const auto& t) { return !t->removed; }));
}

}  // namespace qa::script
