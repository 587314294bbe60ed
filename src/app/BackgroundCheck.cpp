// The checker on a thread of its own, the latest findings handed to the frame loop.
#include "app/BackgroundCheck.h"

#include <exception>

#include "platform/ThreadPriority.h"

namespace qa::app {

BackgroundCheck::BackgroundCheck(CheckFunction check) : check_(std::move(check)) {}

BackgroundCheck::~BackgroundCheck() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void BackgroundCheck::start() {
    {
        std::lock_guard lock(mutex_);
        ++asked_;
        ready_.reset();
        taken_ = false;
        if (!thread_.joinable()) thread_ = std::thread([this] { work(); });
    }
    wake_.notify_all();
}

std::optional<check::FindingReport> BackgroundCheck::take() {
    std::lock_guard lock(mutex_);
    if (taken_ || !ready_ || finished_ != asked_) return std::nullopt;
    taken_ = true;
    std::optional<check::FindingReport> report = std::move(ready_);
    ready_.reset();
    return report;
}

bool BackgroundCheck::pending() const {
    std::lock_guard lock(mutex_);
    return !taken_;
}

bool BackgroundCheck::running() const {
    std::lock_guard lock(mutex_);
    return finished_ != asked_;
}

void BackgroundCheck::work() {
    // Frames come first: the check takes what time they leave.
    platform::ThreadPriority::lowerCurrentThread();
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || finished_ != asked_; });
        if (stop_) return;
        const unsigned number = asked_;
        lock.unlock();
        check::FindingReport report;
        try {
            report = check_();
        } catch (const std::exception&) {
            // A check that cannot finish (memory) reports nothing rather than ending the player.
            report = check::FindingReport();
        }
        lock.lock();
        finished_ = number;
        if (number == asked_) ready_ = std::move(report);
    }
}

}  // namespace qa::app
