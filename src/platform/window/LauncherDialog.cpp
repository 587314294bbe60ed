// Control layout, focus movement and presses of the launcher dialog.
#include "platform/window/LauncherDialog.h"

namespace qa::platform::window {

namespace {

Rect unitsRect(int x, int y, int w, int h) {
    const int left = LauncherDialog::toPixelsX(x);
    const int top = LauncherDialog::toPixelsY(y);
    return {left, top, left + LauncherDialog::toPixelsX(w), top + LauncherDialog::toPixelsY(h)};
}

bool inside(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

LauncherDialog::LauncherDialog() {
    // Template order; the picture starts the first group, the start button the second.
    controls_.push_back({kLauncherPicture, Kind::Picture, unitsRect(0, 0, 180, 80), "", false, true});
    controls_.push_back(
        {kFullscreenBox, Kind::CheckBox, unitsRect(4, 82, 76, 15), "Fullscreen", true, false});
    controls_.push_back({kSoundBox, Kind::CheckBox, unitsRect(4, 97, 76, 11), "Sound", true, false});
    controls_.push_back(
        {kStartButton, Kind::PushButton, unitsRect(92, 83, 85, 25), "Quorv Art!", true, true});
    focus_ = kFullscreenBox;  // the first control that takes the Tab key
}

const LauncherDialog::Control* LauncherDialog::find(int id) const {
    for (const Control& c : controls_) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

LauncherDialog::Control* LauncherDialog::findMutable(int id) {
    return const_cast<Control*>(static_cast<const LauncherDialog*>(this)->find(id));
}

void LauncherDialog::setChecked(int id, bool checked) {
    if (Control* c = findMutable(id); c && c->kind == Kind::CheckBox) c->checked = checked;
}

bool LauncherDialog::isChecked(int id) const {
    const Control* c = find(id);
    return c && c->present && c->checked;
}

void LauncherDialog::remove(int id) {
    Control* c = findMutable(id);
    if (!c) return;
    c->present = false;
    if (pressed_ == id) pressed_ = 0;
    if (focus_ == id) {
        focus_ = 0;
        moveFocus(1, false);
    }
}

bool LauncherDialog::focusable(const Control& c) const {
    return c.present && c.tabStop;
}

int LauncherDialog::controlAt(int x, int y) const {
    for (const Control& c : controls_) {
        if (c.present && inside(c.rect, x, y)) return c.id;
    }
    return 0;
}

void LauncherDialog::moveFocus(int step, bool withinGroup) {
    const int n = static_cast<int>(controls_.size());
    int at = -1;
    for (int i = 0; i < n; ++i) {
        if (controls_[static_cast<std::size_t>(i)].id == focus_) at = i;
    }
    if (at < 0) {
        // Nothing focused: the first control that can take the focus.
        for (const Control& c : controls_) {
            if (focusable(c)) {
                focus_ = c.id;
                return;
            }
        }
        focus_ = 0;
        return;
    }
    // The group of the focused control runs from its group start to the next one.
    int first = at;
    while (first > 0 && !controls_[static_cast<std::size_t>(first)].groupStart) --first;
    int last = at;
    while (last + 1 < n && !controls_[static_cast<std::size_t>(last + 1)].groupStart) ++last;
    const int lo = withinGroup ? first : 0;
    const int count = withinGroup ? last - first + 1 : n;
    for (int k = 1; k <= count; ++k) {
        const int i = lo + (((at - lo) + step * k) % count + count) % count;
        const Control& c = controls_[static_cast<std::size_t>(i)];
        // Arrow keys move between any enabled controls of the group; Tab only between tab stops.
        if (c.present && c.kind != Kind::Picture && (withinGroup || c.tabStop)) {
            focus_ = c.id;
            return;
        }
    }
}

int LauncherDialog::click(int id) {
    Control* c = findMutable(id);
    if (!c || !c->present || c->kind == Kind::Picture) return 0;  // the picture sends nothing
    if (c->kind == Kind::CheckBox) c->checked = !c->checked;
    return id;
}

int LauncherDialog::keyDown(std::uint32_t vk, bool shift) {
    switch (vk) {
        case VK_TAB:
            moveFocus(shift ? -1 : 1, false);
            return 0;
        case VK_LEFT:
        case VK_UP:
            moveFocus(-1, true);
            return 0;
        case VK_RIGHT:
        case VK_DOWN:
            moveFocus(1, true);
            return 0;
        case VK_RETURN: {
            // Enter presses the focused push button, otherwise the default one.
            const Control* c = find(focus_);
            return (c && c->kind == Kind::PushButton) ? click(focus_) : click(kDefaultButton);
        }
        case VK_ESCAPE:
            return kCancel;
        case VK_SPACE:
            if (!spaceDown_ && focus_ != 0) {
                spaceDown_ = true;
                pressed_ = focus_;
                pressedInside_ = true;
            }
            return 0;
        default:
            return 0;
    }
}

int LauncherDialog::keyUp(std::uint32_t vk) {
    if (vk != VK_SPACE || !spaceDown_) return 0;
    spaceDown_ = false;
    const int id = pressed_;
    pressed_ = 0;
    return id == focus_ ? click(id) : 0;
}

int LauncherDialog::mouseDown(int x, int y) {
    const int id = controlAt(x, y);
    const Control* c = find(id);
    if (!c || c->kind == Kind::Picture) return 0;
    focus_ = id;
    pressed_ = id;
    pressedInside_ = true;
    spaceDown_ = false;
    return 0;
}

void LauncherDialog::mouseMove(int x, int y) {
    if (const Control* c = find(pressed_)) pressedInside_ = inside(c->rect, x, y);
}

int LauncherDialog::mouseUp(int x, int y) {
    const int id = pressed_;
    if (id == 0 || spaceDown_) return 0;
    pressed_ = 0;
    const Control* c = find(id);
    return (c && inside(c->rect, x, y)) ? click(id) : 0;
}

}  // namespace qa::platform::window
