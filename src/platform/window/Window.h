// The program's one window: the launcher dialog first, then the window the program runs in.
#pragma once

#include "platform/window/GameWindow.h"
#include "platform/window/InputEvent.h"
#include "platform/window/LauncherWindow.h"

namespace qa::platform::window {

class Window : public LauncherWindow, public GameWindow {};

}  // namespace qa::platform::window
