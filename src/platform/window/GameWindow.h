// The window the program runs in: typed input events, readable rectangles, the cursor, message
// boxes, full screen, and the native window the graphics device presents into.
#pragma once

#include <string>

namespace qa::platform::window {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct Point {
    int x = 0;
    int y = 0;
};

struct InputEvent;

class GameWindow {
  public:
    virtual ~GameWindow() = default;

    // Removes the next pending input event; false when none is pending.
    virtual bool pollEvent(InputEvent& out) = 0;
    virtual bool clientRect(Rect& out) const = 0;
    virtual bool windowRect(Rect& out) const = 0;
    // Moves and sizes the window (outer size); keeps the Z order.
    virtual void setWindowPos(int left, int top, int width, int height) = 0;
    // Resizes the window keeping its position, brings it to the top and shows it.
    virtual void setWindowSize(int width, int height) = 0;
    // The cursor in screen pixels; false when it cannot be read.
    virtual bool cursorPos(Point& out) const = 0;
    virtual void showCursor(bool show) = 0;
    // Shows a modal message box with an OK button and returns when it is closed.
    virtual void messageBox(const std::string& text, const std::string& caption) = 0;
    // The display the picture is shown on: windowed or full screen (decided after the launcher).
    virtual void setFullscreen(bool fullscreen) { (void)fullscreen; }
    // The native window the graphics device presents into (an SDL_Window* for the SDL window; null
    // for a window without a display).
    virtual void* nativeHandle() const { return nullptr; }
};

}  // namespace qa::platform::window
