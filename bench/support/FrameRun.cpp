// The application run under a benchmark's timing.
#include "support/FrameRun.h"

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "app/Application.h"
#include "app/DisplayDevice.h"
#include "app/FrameObserver.h"
#include "harness/BenchmarkWindow.h"
#include "harness/QuietStdout.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/gfx/GraphicsHardware.h"
#include "platform/gfx/sdl/HeadlessGraphics.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/gfx/sdl/WindowDevice.h"
#include "platform/window/sdl/SdlWindow.h"
#include "runner/HeadlessWindow.h"
#include "runner/MemorySettingsStore.h"
#include "runner/ScriptedJoystick.h"
#include "runner/VirtualClock.h"
#include "scene/SceneState.h"
#include "support/DrawList.h"

namespace fs = std::filesystem;

namespace qa::bench {

using platform::window::InputEvent;

const char* rendererName(Renderer r) {
    switch (r) {
        case Renderer::Accelerated:
            return "accelerated";
        case Renderer::Software:
            return "software";
        case Renderer::Headless:
            return "headless";
    }
    return "?";
}

InputEvent keyDown(std::uint32_t vk) {
    return InputEvent::keyDown(vk);
}
InputEvent keyUp(std::uint32_t vk) {
    return InputEvent::keyUp(vk);
}

namespace {

// The renderer that really draws, for the report: SDL's name and, for OpenGL, the GL renderer.
std::string deviceLabel(platform::gfx::Device* device, Renderer wanted) {
    if (wanted == Renderer::Headless) return "memory back buffer, no pixels";
    auto* sdl = dynamic_cast<platform::gfx::SdlDevice*>(device);
    SDL_RendererInfo info;
    if (!sdl || !sdl->renderer() || SDL_GetRendererInfo(sdl->renderer(), &info) != 0) return "?";
    std::string label = info.name;
    if (label.rfind("opengl", 0) == 0 && SDL_GL_GetCurrentContext()) {
        using GetString = const unsigned char* (*)(unsigned);
        if (auto get = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"))) {
            if (const unsigned char* s = get(0x1F01))
                label += std::string(" (") + reinterpret_cast<const char*>(s) + ")";
        }
    }
    return label;
}

class Driver : public app::FrameObserver {
  public:
    Driver(benchmark::State& state, const FrameRunSetup& setup, BenchmarkWindow& window,
           runner::HeadlessWindow* headless, runner::VirtualClock& clock)
        : state_(state), setup_(setup), window_(window), headless_(headless), clock_(clock) {}

    void setApplication(app::Application* application) { application_ = application; }

    void frameStarting(int frame) override {
        clock_.setFrame(frame);
        for (const auto& [at, message] : setup_.input)
            if (at == frame) window_.post(message);
        if (headless_) {
            for (const auto& [at, point] : setup_.cursor)
                if (at == frame) headless_->setCursor(point.x, point.y);
        }
        platform::gfx::Device* device = this->device();
        if (frame == 1 && device && setup_.renderer == Renderer::Headless) device->setPixelsWanted(false);
        if (!setup_.drawListOut.empty() && frame <= setup_.warmupFrames) {
            if (recorder_) {
                recorder_->nextFrame();
            } else if (frame > setup_.warmupFrames - std::max(1, setup_.drawListFrames)) {
                startRecording();
            }
        }

        const int first = setup_.warmupFrames + 1;
        if (frame < first || done_ || failed_) return;
        if (frame == first) {
            if (!checkDevice(device)) return;
            if (setup_.afterWarmup) setup_.afterWarmup();
            it_.emplace(state_.begin());
            end_.emplace(state_.end());  // timing starts
        } else {
            ++*it_;
        }
        if (!(*it_ != *end_)) {  // timing stops when the frames asked for have run
            done_ = true;
            window_.post(InputEvent::close());
        }
    }

    void framePresented(int frame) override {
        if (recorder_ && frame == setup_.warmupFrames) stopRecording();
    }

    // After the run: a run that ended early (or never started timing) is reported as an error.
    void finish() {
        if (done_) return;
        if (error_.empty()) error_ = "the application ended before the frames were timed";
        state_.SkipWithError(error_.c_str());
        if (it_) {
            while (*it_ != *end_) ++*it_;
        } else {
            for (auto _ : state_) {
            }
        }
    }

  private:
    platform::gfx::Device* device() const {
        app::DisplayDevice* display = application_ ? application_->display() : nullptr;
        return display ? display->device() : nullptr;
    }

    bool checkDevice(platform::gfx::Device* device) {
        const bool accelerated = dynamic_cast<platform::gfx::WindowDevice*>(device) != nullptr;
        if (!device || accelerated != (setup_.renderer == Renderer::Accelerated)) {
            error_ = std::string("no ") + rendererName(setup_.renderer) + " device";
            window_.post(InputEvent::close());
            failed_ = true;
            return false;
        }
        state_.SetLabel(deviceLabel(device, setup_.renderer));
        return true;
    }

    void startRecording() {
        if (!application_) return;
        scene::SceneState& scene = application_->engine().scene;
        if (!scene.sprite) return;
        recorder_ = std::make_unique<RecordingSprite>(*scene.sprite, 1024, 768);
        realSprite_ = scene.sprite;
        scene.sprite = recorder_.get();
    }

    void stopRecording() {
        application_->engine().scene.sprite = realSprite_;
        recorder_->write(setup_.drawListOut);
        state_.counters["copies"] = recorder_->copies();
        state_.counters["pixels"] = recorder_->pixels();
        recorder_.reset();
    }

    benchmark::State& state_;
    const FrameRunSetup& setup_;
    BenchmarkWindow& window_;
    runner::HeadlessWindow* headless_;
    runner::VirtualClock& clock_;
    app::Application* application_ = nullptr;
    std::optional<benchmark::State::StateIterator> it_, end_;
    std::unique_ptr<RecordingSprite> recorder_;
    platform::gfx::Sprite* realSprite_ = nullptr;
    std::string error_;
    bool done_ = false;
    bool failed_ = false;
};

// One run of the application, timing its frames.
void runOnce(benchmark::State& state, const FrameRunSetup& setup) {
    QuietStdout quiet;
    std::unique_ptr<platform::window::Window> inner;
    runner::HeadlessWindow* headless = nullptr;
    if (setup.renderer == Renderer::Headless) {
        auto h = std::make_unique<runner::HeadlessWindow>();
        headless = h.get();
        inner = std::move(h);
    } else {
        inner = std::make_unique<platform::window::SdlWindow>(platform::gfx::GraphicsHardware::present());
    }
    BenchmarkWindow window(*inner);
    runner::VirtualClock clock(16);
    runner::ScriptedJoystick joystick(false);
    runner::MemorySettingsStore store;
    store.write({{"windowed", setup.windowed ? 1 : 0}, {"usesound", 0}});
    platform::gfx::SdlGraphics::Options options;
    options.waitForRetrace = false;
    options.acceptSoftwareRasteriser = setup.renderer == Renderer::Accelerated;
    options.refuseAccelerated = setup.renderer == Renderer::Software;
    platform::gfx::SdlGraphics windowGraphics(options);
    platform::gfx::HeadlessGraphics headlessGraphics;
    platform::audio::SoftwareSoundLibrary sound(platform::audio::OutputKind::Device);

    app::Application::Platform platform;
    platform.window = &window;
    platform.clock = &clock;
    platform.joystick = &joystick;
    platform.settingsStore = &store;
    platform.graphics = setup.renderer == Renderer::Headless
                            ? static_cast<platform::gfx::Graphics*>(&headlessGraphics)
                            : &windowGraphics;
    platform.sound = &sound;

    Driver driver(state, setup, window, headless, clock);
    app::Application application(platform);
    application.setObserver(&driver);
    driver.setApplication(&application);
    application.run();
    driver.finish();
}

}  // namespace

void runFrames(benchmark::State& state, const FrameRunSetup& setup) {
    const fs::path back = fs::current_path();
    std::error_code ec;
    fs::current_path(setup.disk, ec);
    if (ec) {
        state.SkipWithError("cannot enter the disk folder");
        for (auto _ : state) {
        }
        return;
    }
    runOnce(state, setup);
    fs::current_path(back, ec);
}

}  // namespace qa::bench
