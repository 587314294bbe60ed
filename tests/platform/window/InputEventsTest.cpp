// The key table and double clicks.
#include <gtest/gtest.h>

#include "platform/window/DoubleClicks.h"
#include "platform/window/sdl/SdlKeys.h"

namespace qa::platform::window {
namespace {

TEST(SdlKeyTable, TheKeysTheSystemUsesAndTheirNeighbours) {
    const std::pair<const char*, std::uint32_t> table[] = {
        {"Return", VK_RETURN},
        {"Keypad Enter", VK_RETURN},
        {"Escape", VK_ESCAPE},
        {"PageUp", VK_PRIOR},
        {"PageDown", VK_NEXT},
        {"Left", VK_LEFT},
        {"Up", VK_UP},
        {"Right", VK_RIGHT},
        {"Down", VK_DOWN},
        {"Tab", VK_TAB},
        {"Space", VK_SPACE},
        {"A", 'A'},
        {"z", 'Z'},
        {"7", '7'},
        {"F1", 0x70},
        {"F12", 0x7B},
        {"Left Alt", 0x12},
        {"Left Shift", 0x10},
        {"Keypad 8", 0x68},
        {"Home", 0x24},
    };
    for (const auto& [name, vk] : table) EXPECT_EQ(SdlKeys::virtualKeyForName(name), vk) << name;
    // With Num Lock off the keypad moves the cursor.
    EXPECT_EQ(SdlKeys::virtualKeyForName("Keypad 8", false), VK_UP);
    EXPECT_EQ(SdlKeys::virtualKeyForName("Keypad 3", false), VK_NEXT);
    EXPECT_EQ(SdlKeys::virtualKeyForName("Keypad 4", false), VK_LEFT);
    EXPECT_EQ(SdlKeys::virtualKeyForName("Keypad Enter", false), VK_RETURN);
    EXPECT_EQ(SdlKeys::virtualKeyForName("no such key"), 0u);
    EXPECT_EQ(SdlKeys::virtualKeyForName("AudioPlay"), 0u);
}

TEST(DoubleClicks, SecondPressInTimeAndPlaceIsADoubleClick) {
    using P = InputEvent::Press;
    const MouseButton L = MouseButton::Left, R = MouseButton::Right;
    DoubleClicks in;
    EXPECT_EQ(in.press(L, 1000, 10, 10), P::Down);
    EXPECT_EQ(in.press(L, 1300, 12, 8), P::DoubleClick);
    // The third press starts afresh, the fourth completes a second double click.
    EXPECT_EQ(in.press(L, 1400, 12, 8), P::Down);
    EXPECT_EQ(in.press(L, 1500, 12, 8), P::DoubleClick);

    // Too late, too far, the other button, or forgotten: plain presses.
    EXPECT_EQ(in.press(L, 2000, 0, 0), P::Down);
    EXPECT_EQ(in.press(L, 2501, 0, 0), P::Down);
    EXPECT_EQ(in.press(L, 2600, 3, 0), P::Down);
    EXPECT_EQ(in.press(R, 2650, 3, 0), P::Down);
    EXPECT_EQ(in.press(R, 2700, 3, 0), P::DoubleClick);
    EXPECT_EQ(in.press(R, 2800, 3, 0), P::Down);
    in.forget();
    EXPECT_EQ(in.press(R, 2850, 3, 0), P::Down);
    // Exactly the double-click time still counts, and the counter may wrap in between.
    EXPECT_EQ(in.press(R, 2850 + DoubleClicks::kDoubleClickMs, 3, 0), P::DoubleClick);
    EXPECT_EQ(in.press(L, 0xFFFFFF00u, 5, 5), P::Down);
    EXPECT_EQ(in.press(L, 0x00000010u, 5, 5), P::DoubleClick);
}

}  // namespace
}  // namespace qa::platform::window
