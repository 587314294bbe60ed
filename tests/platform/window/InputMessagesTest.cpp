// The key table, key flags and repeats, double clicks and wheel deltas.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/window/InputMessages.h"
#include "platform/window/sdl/SdlKeys.h"

namespace qa::platform::window {
namespace {

std::int16_t wheelDelta(const Message& m) {
    return static_cast<std::int16_t>((m.wParam >> 16) & 0xFFFF);
}

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

TEST(InputMessagesKeys, RepeatsAreKeyDownsAndAltMakesSystemKeys) {
    const Message first = InputMessages::keyDown(VK_DOWN, false, false);
    const Message again = InputMessages::keyDown(VK_DOWN, true, false);
    EXPECT_EQ(first.message, WM_KEYDOWN);
    EXPECT_EQ(again.message, WM_KEYDOWN);
    EXPECT_EQ(first.wParam, VK_DOWN);
    EXPECT_EQ(first.lParam & 0xFFFF, 1);  // repeat count
    EXPECT_EQ((first.lParam >> 30) & 1, 0);
    EXPECT_EQ((again.lParam >> 30) & 1, 1);  // was already down
    const Message up = InputMessages::keyUp(VK_DOWN, false);
    EXPECT_EQ(up.message, WM_KEYUP);
    EXPECT_EQ((up.lParam >> 30) & 3, 3);
    EXPECT_EQ(InputMessages::keyDown(VK_RETURN, false, true).message, WM_SYSKEYDOWN);
    EXPECT_EQ(InputMessages::keyUp(VK_RETURN, true).message, WM_SYSKEYUP);
}

TEST(InputMessagesButtons, SecondPressInTimeAndPlaceIsADoubleClick) {
    InputMessages in;
    EXPECT_EQ(in.buttonDown(MouseButton::Left, 1000, 10, 10).message, WM_LBUTTONDOWN);
    EXPECT_EQ(InputMessages::buttonUp(MouseButton::Left, 10, 10).message, WM_LBUTTONUP);
    EXPECT_EQ(in.buttonDown(MouseButton::Left, 1300, 12, 8).message, WM_LBUTTONDBLCLK);
    EXPECT_EQ(InputMessages::buttonUp(MouseButton::Left, 12, 8).message, WM_LBUTTONUP);
    // The third press starts afresh, the fourth completes a second double click.
    EXPECT_EQ(in.buttonDown(MouseButton::Left, 1400, 12, 8).message, WM_LBUTTONDOWN);
    EXPECT_EQ(in.buttonDown(MouseButton::Left, 1500, 12, 8).message, WM_LBUTTONDBLCLK);

    // Too late, too far, the other button, or forgotten: plain presses.
    EXPECT_EQ(in.buttonDown(MouseButton::Left, 2000, 0, 0).message, WM_LBUTTONDOWN);
    EXPECT_EQ(in.buttonDown(MouseButton::Left, 2501, 0, 0).message, WM_LBUTTONDOWN);
    EXPECT_EQ(in.buttonDown(MouseButton::Left, 2600, 3, 0).message, WM_LBUTTONDOWN);
    EXPECT_EQ(in.buttonDown(MouseButton::Right, 2650, 3, 0).message, WM_RBUTTONDOWN);
    EXPECT_EQ(in.buttonDown(MouseButton::Right, 2700, 3, 0).message, WM_RBUTTONDBLCLK);
    EXPECT_EQ(in.buttonDown(MouseButton::Right, 2800, 3, 0).message, WM_RBUTTONDOWN);
    in.forgetClick();
    EXPECT_EQ(in.buttonDown(MouseButton::Right, 2850, 3, 0).message, WM_RBUTTONDOWN);
    // Exactly the double-click time still counts, and the counter may wrap in between.
    EXPECT_EQ(in.buttonDown(MouseButton::Right, 2850 + InputMessages::kDoubleClickMs, 3, 0).message,
              WM_RBUTTONDBLCLK);
    EXPECT_EQ(in.buttonDown(MouseButton::Left, 0xFFFFFF00u, 5, 5).message, WM_LBUTTONDOWN);
    EXPECT_EQ(in.buttonDown(MouseButton::Left, 0x00000010u, 5, 5).message, WM_LBUTTONDBLCLK);

    const Message m = in.buttonDown(MouseButton::Left, 9000, -3, 700);
    EXPECT_EQ(m.lParam, InputMessages::pointParam(-3, 700));
    EXPECT_EQ(m.lParam & 0xFFFF, 0xFFFD);
    EXPECT_EQ((m.lParam >> 16) & 0xFFFF, 700);
}

TEST(InputMessagesWheel, OneHundredTwentyANotchInTheHighWord) {
    InputMessages in;
    auto one = [&](double notches) {
        std::vector<Message> v = in.wheel(notches, 0, 0);
        return v.size() == 1 ? static_cast<int>(wheelDelta(v[0])) : -99999;
    };
    EXPECT_EQ(one(1), 120);  // away from the user
    EXPECT_EQ(one(-1), -120);
    EXPECT_EQ(one(3), 360);
    EXPECT_EQ(in.wheel(1, 0, 0)[0].message, WM_MOUSEWHEEL);
    // Fractions of a smooth wheel gather until they make a unit.
    EXPECT_TRUE(in.wheel(0.004, 0, 0).empty());
    EXPECT_TRUE(in.wheel(0.004, 0, 0).empty());
    EXPECT_EQ(one(0.1), 12);  // 0.48 + 0.48 + 12 = 12.96: 12 now, the rest later
    EXPECT_EQ(one(0.1), 12);  // 12.96
    // A delta too large for one message is split.
    std::vector<Message> big = in.wheel(300, 0, 0);
    ASSERT_EQ(big.size(), 2u);
    EXPECT_EQ(wheelDelta(big[0]) + wheelDelta(big[1]), 36000);
    EXPECT_TRUE(in.wheel(std::nan(""), 0, 0).empty());
}

}  // namespace
}  // namespace qa::platform::window
