// The desktop program: plays a disk (the folder that holds data/, or a .qdisk file) with the SDL
// window, clock and joystick, the sound device and the settings file of the user. Shared by quorvart
// and by the benchmarks' build of it, which puts a timing window around the desktop's.
#pragma once

namespace qa::platform::window {
class Window;
}

namespace qa::desktop {

class DesktopProgram {
  public:
    // What a program built on this one may put around a run.
    class Hook {
      public:
        virtual ~Hook() = default;
        // The window the application runs on, given the desktop's own.
        virtual platform::window::Window& window(platform::window::Window& desktop) = 0;
        // The application's run has ended (the application is not torn down yet).
        virtual void finished() = 0;
    };

    // Runs the program as its command line asks and returns its exit code. Without a disk named, the
    // disk is the working folder when it holds the scene document, else the program's own folder.
    static int run(int argc, char** argv, Hook* hook = nullptr);
};

}  // namespace qa::desktop
