// The page's window: scripted input, message boxes kept, full screen left to the page.
#include "platform/web/WebWindow.h"

#include <cstdio>

#include "platform/window/InputEvent.h"

namespace qa::platform::window {

void WebWindow::post(const InputEvent& e) {
    InputEvent posted = e;
    Point at;
    if (posted.type == InputEvent::Type::Button && !posted.hasPosition && cursorPos(at)) {
        posted.hasPosition = true;
        posted.position = at;
    }
    posted_.push_back(posted);
}

void WebWindow::setCursor(int x, int y) {
    cursor_ = {x, y};
    cursorKnown_ = true;
}

bool WebWindow::pollEvent(InputEvent& out) {
    if (!scripted_) return SdlWindow::pollEvent(out);
    // The user's input is read and dropped: the script alone drives the run.
    InputEvent dropped;
    while (SdlWindow::pollEvent(dropped)) {
    }
    if (posted_.empty()) return false;
    out = posted_.front();
    posted_.pop_front();
    return true;
}

bool WebWindow::cursorPos(Point& out) const {
    if (!scripted_) return SdlWindow::cursorPos(out);
    if (!cursorKnown_) return false;
    Rect window;
    if (!windowRect(window)) return false;
    out = {cursor_.x + window.left, cursor_.y + window.top};
    return true;
}

void WebWindow::messageBox(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    messages_.push_back(caption + ": " + text);
}

void WebWindow::setFullscreen(bool) {
    SdlWindow::setFullscreen(false);
}

}  // namespace qa::platform::window
