// The application window as the system sees it: a message queue handed to one window procedure,
// readable rectangles, the cursor, message boxes, and the launcher's controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace qa::platform::window {

// Message numbers as the window procedure receives them.
enum MessageId : std::uint32_t {
    WM_DESTROY = 0x0002,
    WM_SIZE = 0x0005,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_SHOWWINDOW = 0x0018,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_SYSKEYDOWN = 0x0104,  // a key pressed with Alt held, or Alt itself
    WM_SYSKEYUP = 0x0105,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MOUSEWHEEL = 0x020A,
};
constexpr std::uint64_t SC_MINIMIZE = 0xF020;
constexpr std::uint64_t SC_MAXIMIZE = 0xF030;
constexpr std::uint64_t SC_RESTORE = 0xF120;

// Virtual-key codes of the keys the system uses.
enum VirtualKey : std::uint32_t {
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
};

// Launcher control ids.
enum ControlId : int {
    kLauncherPicture = 99,
    kFullscreenBox = 16,
    kSoundBox = 23,
    kStartButton = 303,
};

struct Message {
    std::uint32_t message = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
};

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

using WindowProc = std::function<std::int64_t(const Message&)>;

class Window {
  public:
    virtual ~Window() = default;

    void setWindowProc(WindowProc proc) { proc_ = std::move(proc); }
    // Hands a message to the window procedure (then default processing) and returns its result.
    std::int64_t dispatch(const Message& m) { return proc_ ? proc_(m) : 0; }
    // Sends a message straight to the window procedure; it is handled before this returns.
    std::int64_t sendMessage(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam) {
        return dispatch(Message{message, wParam, lParam});
    }

    // --- launcher (the window as a dialog) ---
    // Creates the window as the launcher dialog with its picture, two check boxes and start button,
    // shows it and updates it. False when no window can be created.
    virtual bool createLauncher() = 0;
    // Waits for the next launcher message, after keyboard navigation between the controls has had
    // its turn. False when retrieval ends (the window was closed or the system quits).
    virtual bool launcherMessage(Message& out) = 0;
    virtual void setChecked(int controlId, bool checked) = 0;
    virtual bool isChecked(int controlId) const = 0;
    // Removes a launcher control (the check boxes and the button at stage 7, the picture later).
    virtual void destroyControl(int controlId) = 0;

    // --- running ---
    // Removes the next pending message; false when none is pending.
    virtual bool peekMessage(Message& out) = 0;
    virtual bool clientRect(Rect& out) const = 0;
    virtual bool windowRect(Rect& out) const = 0;
    // Moves and sizes the window (outer size); keeps the Z order.
    virtual void setWindowPos(int left, int top, int width, int height) = 0;
    // Resizes the window keeping its position, brings it to the top and shows it.
    virtual void setWindowSize(int width, int height) = 0;
    virtual void update() {}
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

  private:
    WindowProc proc_;
};

}  // namespace qa::platform::window
