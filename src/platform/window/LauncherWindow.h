// The window as the launcher dialog: its picture, two check boxes and the start button, and the
// messages the dialog sends while the viewer chooses.
#pragma once

#include <cstdint>

namespace qa::platform::window {

// Message numbers as the launcher receives them.
enum MessageId : std::uint32_t {
    WM_DESTROY = 0x0002,
    WM_CLOSE = 0x0010,
    WM_QUIT = 0x0012,
    WM_SHOWWINDOW = 0x0018,
    WM_COMMAND = 0x0111,
    WM_SYSCOMMAND = 0x0112,
};
constexpr std::uint64_t SC_MINIMIZE = 0xF020;
constexpr std::uint64_t SC_MAXIMIZE = 0xF030;
constexpr std::uint64_t SC_RESTORE = 0xF120;

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

class LauncherWindow {
  public:
    virtual ~LauncherWindow() = default;

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
    // Draws what changed in the dialog now.
    virtual void update() {}
};

}  // namespace qa::platform::window
