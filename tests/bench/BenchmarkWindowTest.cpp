// The timing runs' window: its launcher starts at once with the boxes as stored, posted messages
// come before the real window's, and every frame's message step ends exactly once.
#include <gtest/gtest.h>

#include <vector>

#include "harness/BenchmarkWindow.h"
#include "support/FakeWindow.h"

namespace qa::bench {
namespace {

using namespace platform::window;

TEST(BenchmarkWindow, LauncherStartsAtOnceWithTheBoxesAsTheyAre) {
    test::FakeWindow real;
    BenchmarkWindow window(real);
    ASSERT_TRUE(window.createLauncher());
    Message m;
    ASSERT_TRUE(window.launcherMessage(m));
    EXPECT_EQ(m.message, WM_SHOWWINDOW);
    ASSERT_TRUE(window.launcherMessage(m));
    EXPECT_EQ(m.message, WM_COMMAND);
    EXPECT_EQ(m.wParam, static_cast<std::uint64_t>(kStartButton));
    // The boxes are the real window's.
    window.setChecked(kSoundBox, true);
    EXPECT_TRUE(real.isChecked(kSoundBox));
    EXPECT_TRUE(window.isChecked(kSoundBox));
    // After the start, the real launcher's own messages (none here: retrieval ends).
    EXPECT_FALSE(window.launcherMessage(m));
}

TEST(BenchmarkWindow, MessageStepsAreCountedOncePerFrameAndTheLimitCloses) {
    test::FakeWindow real;
    BenchmarkWindow window(real);
    std::vector<int> steps;
    window.setStepHook([&](int frame) {
        steps.push_back(frame);
        if (frame == 2) window.post({WM_KEYDOWN, VK_DOWN, 0});
    });
    window.setFrameLimit(3);
    auto drain = [&] {
        std::vector<std::uint32_t> got;
        Message m;
        while (window.peekMessage(m)) got.push_back(m.message);
        return got;
    };

    // Frame 1: posted messages first, then the real window's.
    window.post({WM_KEYUP, VK_RETURN, 0});
    real.queue.push_back({WM_MOUSEMOVE, 0, 0});
    EXPECT_EQ(drain(), (std::vector<std::uint32_t>{WM_KEYUP, WM_MOUSEMOVE}));
    // Frame 2: what the hook posts at the end of the step still belongs to it.
    EXPECT_EQ(drain(), (std::vector<std::uint32_t>{WM_KEYDOWN}));
    // Frame 3: the limit closes the window.
    EXPECT_EQ(drain(), (std::vector<std::uint32_t>{WM_CLOSE}));
    EXPECT_EQ(drain(), (std::vector<std::uint32_t>{}));
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace qa::bench
