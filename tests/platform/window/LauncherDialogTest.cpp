// The launcher dialog's layout, keyboard navigation and clicks.
#include <gtest/gtest.h>

#include "platform/window/LauncherDialog.h"
#include "platform/window/LauncherPicture.h"

namespace qa::platform::window {
namespace {

Rect rectOf(const LauncherDialog& d, int id) {
    return d.find(id)->rect;
}

void expectRect(const Rect& r, int l, int t, int w, int h) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.width(), w);
    EXPECT_EQ(r.height(), h);
}

TEST(LauncherDialogLayout, DialogUnitsBecomePixels) {
    LauncherDialog d;
    EXPECT_EQ(d.width(), 270);
    EXPECT_EQ(d.height(), 180);
    expectRect(rectOf(d, kLauncherPicture), 0, 0, 270, 130);
    expectRect(rectOf(d, kFullscreenBox), 6, 133, 114, 24);
    expectRect(rectOf(d, kSoundBox), 6, 158, 114, 18);
    expectRect(rectOf(d, kStartButton), 138, 135, 128, 41);
    // The picture control holds the 269 x 125 picture inside its border.
    EXPECT_GE(rectOf(d, kLauncherPicture).width() - 2, LauncherPicture::kWidth - 1);
    EXPECT_GE(rectOf(d, kLauncherPicture).height() - 2, LauncherPicture::kHeight);
    EXPECT_EQ(LauncherPicture::pixels().size(), 269u * 125u);
}

TEST(LauncherDialogKeys, TabArrowsSpaceEnterAndEsc) {
    LauncherDialog d;
    d.setChecked(kFullscreenBox, true);
    d.setChecked(kSoundBox, true);
    EXPECT_EQ(d.focus(), kFullscreenBox);
    EXPECT_EQ(d.keyDown(VK_TAB, false), 0);
    EXPECT_EQ(d.focus(), kSoundBox);
    d.keyDown(VK_TAB, false);
    EXPECT_EQ(d.focus(), kStartButton);
    d.keyDown(VK_TAB, false);
    EXPECT_EQ(d.focus(), kFullscreenBox);  // round again, past the picture
    d.keyDown(VK_TAB, true);
    EXPECT_EQ(d.focus(), kStartButton);
    // Arrows stay within the group: the two boxes, or the button alone.
    d.keyDown(VK_DOWN, false);
    EXPECT_EQ(d.focus(), kStartButton);
    d.keyDown(VK_TAB, false);
    d.keyDown(VK_DOWN, false);
    EXPECT_EQ(d.focus(), kSoundBox);
    d.keyDown(VK_DOWN, false);
    EXPECT_EQ(d.focus(), kFullscreenBox);
    d.keyDown(VK_UP, false);
    EXPECT_EQ(d.focus(), kSoundBox);

    // Space toggles the focused box when it is released; held, it shows the box pushed.
    EXPECT_EQ(d.keyDown(VK_SPACE, false), 0);
    EXPECT_EQ(d.pushed(), kSoundBox);
    EXPECT_EQ(d.keyDown(VK_SPACE, false), 0);  // a repeat changes nothing
    EXPECT_EQ(d.keyUp(VK_SPACE), kSoundBox);
    EXPECT_FALSE(d.isChecked(kSoundBox));
    EXPECT_TRUE(d.isChecked(kFullscreenBox));

    // Enter presses the default button wherever the focus is, without touching the boxes; Esc sends
    // the cancel command.
    EXPECT_EQ(d.keyDown(VK_RETURN, false), kStartButton);
    EXPECT_FALSE(d.isChecked(kSoundBox));
    EXPECT_EQ(d.keyDown(VK_ESCAPE, false), LauncherDialog::kCancel);
    EXPECT_EQ(d.keyDown('A', false), 0);
    d.keyDown(VK_TAB, false);
    d.keyDown(VK_SPACE, false);
    EXPECT_EQ(d.keyUp(VK_SPACE), kStartButton);
}

TEST(LauncherDialogMouse, PressAndReleaseInsideClicks) {
    LauncherDialog d;
    const Rect sound = rectOf(d, kSoundBox);
    const Rect start = rectOf(d, kStartButton);
    // A click on the label toggles too: the whole control is the box.
    d.mouseDown(sound.right - 2, sound.top + 2);
    EXPECT_EQ(d.focus(), kSoundBox);
    EXPECT_EQ(d.pushed(), kSoundBox);
    EXPECT_EQ(d.mouseUp(sound.right - 2, sound.top + 2), kSoundBox);
    EXPECT_TRUE(d.isChecked(kSoundBox));
    // Pressed, dragged out and released outside: nothing.
    d.mouseDown(start.left + 5, start.top + 5);
    d.mouseMove(start.left - 5, start.top + 5);
    EXPECT_EQ(d.pushed(), 0);
    d.mouseMove(start.left + 5, start.top + 5);
    EXPECT_EQ(d.pushed(), kStartButton);
    EXPECT_EQ(d.mouseUp(start.left - 5, start.top + 5), 0);
    // The picture sends nothing and takes no focus; the start button does.
    EXPECT_EQ(d.mouseDown(10, 10), 0);
    EXPECT_EQ(d.mouseUp(10, 10), 0);
    EXPECT_EQ(d.focus(), kStartButton);
    d.mouseDown(start.left + 1, start.bottom - 1);
    EXPECT_EQ(d.mouseUp(start.left + 1, start.bottom - 1), kStartButton);
    EXPECT_EQ(d.mouseUp(start.left + 1, start.bottom - 1), 0);  // a release without a press
}

TEST(LauncherDialogControls, RemovedControlsAreGone) {
    LauncherDialog d;
    d.setChecked(kFullscreenBox, true);
    d.remove(kFullscreenBox);
    d.remove(kSoundBox);
    EXPECT_FALSE(d.isChecked(kFullscreenBox));
    EXPECT_EQ(d.focus(), kStartButton);
    const Rect sound = rectOf(d, kSoundBox);
    d.mouseDown(sound.left + 2, sound.top + 2);
    EXPECT_EQ(d.mouseUp(sound.left + 2, sound.top + 2), 0);
    d.remove(kStartButton);
    EXPECT_EQ(d.focus(), 0);
    EXPECT_EQ(d.keyDown(VK_RETURN, false), 0);
    d.keyDown(VK_TAB, false);
    EXPECT_EQ(d.focus(), 0);
}

}  // namespace
}  // namespace qa::platform::window
