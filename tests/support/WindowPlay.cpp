// Playing a disk on the accelerated device.
#include "support/WindowPlay.h"

#include <SDL.h>

#include "app/Application.h"
#include "app/DisplayDevice.h"
#include "app/FrameObserver.h"
#include "harness/QuietStdout.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/gfx/sdl/WindowDevice.h"
#include "runner/InputScript.h"
#include "runner/MemorySettingsStore.h"
#include "runner/ScriptedJoystick.h"
#include "runner/VirtualClock.h"
#include "support/FakeWindow.h"

namespace fs = std::filesystem;

namespace qa::test {

namespace {

class Player : public app::FrameObserver {
  public:
    Player(const WindowPlay::Setup& setup, const runner::InputScript& input, FakeWindow& window,
           runner::ScriptedJoystick& joystick, runner::VirtualClock& clock)
        : setup_(setup), input_(input), window_(window), joystick_(joystick), clock_(clock) {}

    void setApplication(app::Application* application) { application_ = application; }
    bool sawDevice() const { return sawDevice_; }

    void frameStarting(int frame) override {
        clock_.setFrame(frame);
        for (const runner::InputAction& a : input_.actionsFor(frame)) {
            switch (a.kind) {
                case runner::InputAction::Kind::Event:
                    window_.post(a.event);
                    break;
                case runner::InputAction::Kind::Mouse:
                    // Screen pixels: the client area is the whole window.
                    window_.cursor = {a.x + window_.outer.left, a.y + window_.outer.top};
                    window_.cursorKnown = true;
                    break;
                case runner::InputAction::Kind::Joystick:
                    joystick_.set(a.joystick);
                    break;
            }
        }
        if (frame >= setup_.frames) window_.post(platform::window::InputEvent::close());
        if (setup_.starting) setup_.starting(frame, device());
    }

    void framePresented(int frame) override {
        platform::gfx::WindowDevice* d = device();
        sawDevice_ = sawDevice_ || d;
        if (d && setup_.presented) setup_.presented(frame, *d);
    }

  private:
    platform::gfx::WindowDevice* device() const {
        app::DisplayDevice* display = application_ ? application_->display() : nullptr;
        return display ? dynamic_cast<platform::gfx::WindowDevice*>(display->device()) : nullptr;
    }

    const WindowPlay::Setup& setup_;
    const runner::InputScript& input_;
    FakeWindow& window_;
    runner::ScriptedJoystick& joystick_;
    runner::VirtualClock& clock_;
    app::Application* application_ = nullptr;
    bool sawDevice_ = false;
};

}  // namespace

bool WindowPlay::play(const Setup& setup, std::string& why) {
    runner::InputScript input;
    if (!input.parse(setup.input)) {
        why = input.error();
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        why = std::string("no display: ") + SDL_GetError();
        return false;
    }
    SDL_Window* sdlWindow =
        SDL_CreateWindow("play", 0, 0, setup.windowWidth, setup.windowHeight, SDL_WINDOW_OPENGL);
    if (!sdlWindow) {
        why = std::string("no window: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    const fs::path back = fs::current_path();
    fs::current_path(setup.disk);
    bool played = false;
    {
        bench::QuietStdout quiet;
        FakeWindow window;
        window.native = sdlWindow;
        window.cursorKnown = false;
        window.startAtOnce();
        runner::VirtualClock clock(16);
        runner::ScriptedJoystick joystick(input.usesJoystick());
        runner::MemorySettingsStore store;
        store.write({{"windowed", 1}, {"usesound", 0}});
        platform::gfx::SdlGraphics::Options options;
        options.waitForRetrace = false;
        options.acceptSoftwareRasteriser = true;
        platform::gfx::SdlGraphics graphics(options);
        platform::audio::SoftwareSoundLibrary sound(platform::audio::OutputKind::Pull);

        app::Application::Platform platform;
        platform.window = &window;
        platform.clock = &clock;
        platform.joystick = &joystick;
        platform.settingsStore = &store;
        platform.graphics = &graphics;
        platform.sound = &sound;
        Player player(setup, input, window, joystick, clock);
        app::Application application(platform);
        application.setObserver(&player);
        player.setApplication(&application);
        application.run();
        played = player.sawDevice();
        if (!played) why = "no accelerated renderer";
    }
    fs::current_path(back);
    SDL_DestroyWindow(sdlWindow);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return played;
}

}  // namespace qa::test
