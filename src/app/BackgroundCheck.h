// The checker run beside the frame loop: a check is asked for after every load of the scene, runs on
// a thread of its own, and the loop picks its findings up once they are ready, so that no frame
// waits for it.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "check/FindingReport.h"

namespace qa::app {

class BackgroundCheck {
  public:
    using CheckFunction = std::function<check::FindingReport()>;

    explicit BackgroundCheck(CheckFunction check);
    // Waits for a check in progress; its findings are dropped.
    ~BackgroundCheck();
    BackgroundCheck(const BackgroundCheck&) = delete;
    BackgroundCheck& operator=(const BackgroundCheck&) = delete;

    // Asks for a check of the disk as it is now. A check still in progress finishes first and its
    // findings are dropped: only the last one asked for is reported.
    void start();
    // The findings of the check last asked for, once, when it has finished; nothing before.
    std::optional<check::FindingReport> take();
    // Whether a check asked for has not been reported yet.
    bool pending() const;
    // Whether a check asked for has not finished yet (destroying this waits for it).
    bool running() const;

  private:
    void work();

    CheckFunction check_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    unsigned asked_ = 0;     // the number of the check last asked for
    unsigned finished_ = 0;  // the number of the last check that finished
    std::optional<check::FindingReport> ready_;
    bool taken_ = true;
    std::thread thread_;  // started at the first check asked for
};

}  // namespace qa::app
