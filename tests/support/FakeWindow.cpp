// The test window.
#include "support/FakeWindow.h"

namespace qa::test {

using namespace platform::window;

bool FakeWindow::createLauncher() {
    calls.push_back("createLauncher");
    return canCreate;
}

bool FakeWindow::launcherMessage(Message& out) {
    if (launcherMessages.empty()) return false;
    out = launcherMessages.front();
    launcherMessages.pop_front();
    // An automatic check box changes its state before it tells the window.
    const int id = static_cast<int>(out.wParam & 0xFFFF);
    if (out.message == WM_COMMAND && (id == kFullscreenBox || id == kSoundBox)) checks[id] = !checks[id];
    return true;
}

bool FakeWindow::isChecked(int controlId) const {
    auto it = checks.find(controlId);
    return it != checks.end() && it->second;
}

void FakeWindow::startAtOnce() {
    launcherMessages.push_back({WM_SHOWWINDOW, 1, 0});
    launcherMessages.push_back({WM_COMMAND, kStartButton, 0});
}

void FakeWindow::post(const InputEvent& e) {
    InputEvent posted = e;
    Point at;
    if (posted.type == InputEvent::Type::Button && !posted.hasPosition && cursorPos(at)) {
        posted.hasPosition = true;
        posted.position = at;
    }
    queue.push_back(posted);
}

bool FakeWindow::pollEvent(InputEvent& out) {
    if (queue.empty()) return false;
    out = queue.front();
    queue.pop_front();
    return true;
}

bool FakeWindow::clientRect(Rect& out) const {
    out = client;
    return rectsReadable;
}

bool FakeWindow::windowRect(Rect& out) const {
    out = outer;
    return rectsReadable;
}

void FakeWindow::setWindowPos(int left, int top, int width, int height) {
    calls.push_back("setWindowPos " + std::to_string(left) + " " + std::to_string(top) + " " +
                    std::to_string(width) + " " + std::to_string(height));
    outer = {left, top, left + width, top + height};
    client = {0, 0, width - borderWidth, height - borderHeight};
}

void FakeWindow::setWindowSize(int width, int height) {
    calls.push_back("setWindowSize " + std::to_string(width) + " " + std::to_string(height));
    outer.right = outer.left + width;
    outer.bottom = outer.top + height;
    client = {0, 0, width - borderWidth, height - borderHeight};
}

bool FakeWindow::cursorPos(Point& out) const {
    out = cursor;
    return cursorKnown;
}

void FakeWindow::showCursor(bool show) {
    calls.push_back(show ? "showCursor 1" : "showCursor 0");
}

void FakeWindow::messageBox(const std::string& text, const std::string& caption) {
    boxes.push_back(caption + ": " + text);
}

void FakeWindow::setFullscreen(bool fullscreen) {
    calls.push_back(fullscreen ? "fullscreen 1" : "fullscreen 0");
}

}  // namespace qa::test
