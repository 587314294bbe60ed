// The timing runs' window: its launcher starts at once with the boxes as stored, posted events
// come before the real window's, and every frame's input step ends exactly once.
#include <gtest/gtest.h>

#include <string>
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

TEST(BenchmarkWindow, InputStepsAreCountedOncePerFrameAndTheLimitCloses) {
    test::FakeWindow real;
    BenchmarkWindow window(real);
    std::vector<int> steps;
    window.setStepHook([&](int frame) {
        steps.push_back(frame);
        if (frame == 2) window.post(InputEvent::keyDown(VK_DOWN));
    });
    window.setFrameLimit(3);
    auto drain = [&] {
        std::vector<std::string> got;
        InputEvent e;
        while (window.pollEvent(e)) {
            got.push_back(e.type == InputEvent::Type::Close ? "close"
                          : e.type == InputEvent::Type::Key ? std::to_string(e.key)
                                                            : "other");
        }
        return got;
    };

    // Frame 1: posted events first, then the real window's.
    window.post(InputEvent::keyUp(VK_RETURN));
    real.queue.push_back(InputEvent::resized());
    EXPECT_EQ(drain(), (std::vector<std::string>{"13", "other"}));
    // Frame 2: what the hook posts at the end of the step still belongs to it.
    EXPECT_EQ(drain(), (std::vector<std::string>{"40"}));
    // Frame 3: the limit closes the window.
    EXPECT_EQ(drain(), (std::vector<std::string>{"close"}));
    EXPECT_EQ(drain(), (std::vector<std::string>{}));
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4}));
}

}  // namespace
}  // namespace qa::bench
