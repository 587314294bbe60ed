// The headless window.
#include "runner/HeadlessWindow.h"

#include <cstdio>

namespace qa::runner {

using namespace platform::window;

bool HeadlessWindow::createLauncher() {
    return true;
}

bool HeadlessWindow::launcherMessage(Message& out) {
    // The dialog is shown (its boxes take the stored settings), then the start button is pressed.
    switch (launcherStep_++) {
        case 0:
            out = {WM_SHOWWINDOW, 1, 0};
            return true;
        case 1:
            out = {WM_COMMAND, kStartButton, 0};
            return true;
        default:
            return false;
    }
}

bool HeadlessWindow::isChecked(int controlId) const {
    auto it = checks_.find(controlId);
    return it != checks_.end() && it->second;
}

void HeadlessWindow::post(const InputEvent& e) {
    InputEvent posted = e;
    Point at;
    if (posted.type == InputEvent::Type::Button && !posted.hasPosition && cursorPos(at)) {
        posted.hasPosition = true;
        posted.position = at;
    }
    queue_.push_back(posted);
}

bool HeadlessWindow::pollEvent(InputEvent& out) {
    if (queue_.empty()) return false;
    out = queue_.front();
    queue_.pop_front();
    return true;
}

bool HeadlessWindow::clientRect(Rect& out) const {
    out = {0, 0, 1024, 768};
    return true;
}

bool HeadlessWindow::windowRect(Rect& out) const {
    out = window_;
    return true;
}

void HeadlessWindow::setWindowPos(int left, int top, int width, int height) {
    window_ = {left, top, left + width, top + height};
}

void HeadlessWindow::setWindowSize(int width, int height) {
    window_.right = window_.left + width;
    window_.bottom = window_.top + height;
}

bool HeadlessWindow::cursorPos(Point& out) const {
    if (!cursorKnown_) return false;
    // The client area is the whole window: screen pixels are virtual units offset by the window.
    out = {cursor_.x + window_.left, cursor_.y + window_.top};
    return true;
}

void HeadlessWindow::messageBox(const std::string& text, const std::string& caption) {
    boxes_.push_back(caption + ": " + text);
    std::fprintf(stderr, "quorvart-run: message box \"%s\" (%s)\n", text.c_str(), caption.c_str());
}

}  // namespace qa::runner
