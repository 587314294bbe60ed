// The checker beside the frame loop: only the findings of the last check asked for are reported,
// once, however the checks overlap.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/BackgroundCheck.h"

namespace qa::app {
namespace {

TEST(BackgroundCheck, OnlyTheLastCheckAskedForIsReportedOnce) {
    std::mutex mutex;
    std::condition_variable cv;
    bool open = false;
    int started = 0;
    BackgroundCheck checks([&] {
        std::unique_lock lock(mutex);
        const int number = ++started;
        cv.notify_all();
        cv.wait(lock, [&] { return open; });
        check::FindingReport report;
        check::Finding f;
        f.message = "check " + std::to_string(number);
        report.add(f);
        return report;
    });
    EXPECT_FALSE(checks.pending());
    checks.start();
    {
        std::unique_lock lock(mutex);
        cv.wait(lock, [&] { return started == 1; });
    }
    // Asked again while the first runs: the first's findings are dropped.
    checks.start();
    EXPECT_TRUE(checks.pending());
    EXPECT_TRUE(checks.running());
    EXPECT_FALSE(checks.take());
    {
        std::lock_guard lock(mutex);
        open = true;
    }
    cv.notify_all();
    std::optional<check::FindingReport> report;
    for (int i = 0; i < 5000 && !report; ++i) {
        report = checks.take();
        if (!report) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(report);
    ASSERT_EQ(report->findings().size(), 1u);
    EXPECT_EQ(report->findings()[0].message, "check 2");
    EXPECT_FALSE(checks.take());
    EXPECT_FALSE(checks.pending());
    // Destroyed right after a check is asked for: it ends without waiting for the answer to be taken.
    EXPECT_FALSE(checks.running());
    checks.start();
}

}  // namespace
}  // namespace qa::app
