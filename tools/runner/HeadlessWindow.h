// The application window without a display: the launcher starts at once with the runner's
// settings, input events come from the input script, and the client area is always 1024 x 768.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/window/Window.h"

namespace qa::runner {

class HeadlessWindow : public platform::window::Window {
  public:
    bool createLauncher() override;
    bool launcherMessage(platform::window::Message& out) override;
    void setChecked(int controlId, bool checked) override { checks_[controlId] = checked; }
    bool isChecked(int controlId) const override;
    void destroyControl(int controlId) override { destroyed_.push_back(controlId); }

    bool pollEvent(platform::window::InputEvent& out) override;
    bool clientRect(platform::window::Rect& out) const override;
    bool windowRect(platform::window::Rect& out) const override;
    void setWindowPos(int left, int top, int width, int height) override;
    void setWindowSize(int width, int height) override;
    bool cursorPos(platform::window::Point& out) const override;
    void showCursor(bool show) override { cursorCount_ += show ? 1 : -1; }
    void messageBox(const std::string& text, const std::string& caption) override;

    // The runner's side. A button is pressed where the cursor is, when it is known.
    void post(const platform::window::InputEvent& e);
    void setCursor(int x, int y) {
        cursor_ = {x, y};
        cursorKnown_ = true;
    }
    const std::vector<std::string>& messageBoxes() const { return boxes_; }

  private:
    std::deque<platform::window::InputEvent> queue_;
    std::map<int, bool> checks_;
    std::vector<int> destroyed_;
    std::vector<std::string> boxes_;
    platform::window::Point cursor_;
    bool cursorKnown_ = false;
    int launcherStep_ = 0;
    int cursorCount_ = 0;
    platform::window::Rect window_{0, 0, 1024, 768};
};

}  // namespace qa::runner
