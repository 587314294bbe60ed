// The launcher dialog as its dialog manager keeps it: the four controls placed in pixels from
// dialog units, the check boxes' states, keyboard focus and navigation, and the presses that
// become commands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/Window.h"

namespace qa::platform::window {

class LauncherDialog {
  public:
    enum class Kind { Picture, CheckBox, PushButton };

    struct Control {
        int id = 0;
        Kind kind = Kind::Picture;
        Rect rect;  // client pixels
        std::string text;
        bool tabStop = false;
        bool groupStart = false;
        bool present = true;
        bool checked = false;
    };

    // The dialog's size in dialog units, and the pixels of its font's base units (an 8 point sans
    // serif face: 6 pixels wide on average, 13 high).
    static constexpr int kUnitsWide = 180;
    static constexpr int kUnitsHigh = 111;
    static constexpr int kBaseUnitX = 6;
    static constexpr int kBaseUnitY = 13;
    static constexpr int kDefaultButton = kStartButton;
    static constexpr int kCancel = 2;  // the command the Esc key sends

    static int toPixelsX(int units) { return (units * kBaseUnitX + 2) / 4; }
    static int toPixelsY(int units) { return (units * kBaseUnitY + 4) / 8; }

    LauncherDialog();

    int width() const { return toPixelsX(kUnitsWide); }
    int height() const { return toPixelsY(kUnitsHigh); }
    const std::vector<Control>& controls() const { return controls_; }
    const Control* find(int id) const;

    void setChecked(int id, bool checked);
    bool isChecked(int id) const;
    void remove(int id);

    int focus() const { return focus_; }
    // The control drawn pushed in: a button held down with the mouse inside it, or by Space.
    int pushed() const { return (pressed_ != 0 && pressedInside_) ? pressed_ : 0; }

    // Keyboard and mouse as the dialog manager handles them. Each returns the id of the command the
    // dialog sends to its window (0 when none): a check box is toggled before its command is sent.
    int keyDown(std::uint32_t virtualKey, bool shift);
    int keyUp(std::uint32_t virtualKey);
    int mouseDown(int x, int y);
    void mouseMove(int x, int y);
    int mouseUp(int x, int y);

  private:
    Control* findMutable(int id);
    int controlAt(int x, int y) const;
    bool focusable(const Control& c) const;
    void moveFocus(int step, bool withinGroup);
    int click(int id);

    std::vector<Control> controls_;
    int focus_ = 0;
    int pressed_ = 0;
    bool pressedInside_ = false;
    bool spaceDown_ = false;
};

}  // namespace qa::platform::window
