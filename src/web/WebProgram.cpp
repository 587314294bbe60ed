// The page's program: its parts made for a run, the browser's loop driving the frames, and the run's
// end told to the page.
#include "web/WebProgram.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>

#include "app/Application.h"
#include "app/DisplayDevice.h"
#include "app/MainLoop.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/audio/sdl/SdlQueuedDevice.h"
#include "platform/file/DiskSource.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/sdl/SdlGraphics.h"
#include "platform/sdl/SdlClock.h"
#include "platform/sdl/SdlJoystick.h"
#include "platform/web/LocalStorageSettingsStore.h"
#include "platform/web/WebWindow.h"
#include "runner/PngWriter.h"
#include "runner/ScriptedJoystick.h"
#include "runner/VirtualClock.h"
#include "sound/SoundSystem.h"
#include "web/Page.h"

namespace qa::web {

namespace {
constexpr int kAudioRate = sound::SoundSystem::kMixRate;
constexpr int kJoystickLookFrames = 60;
}  // namespace

WebProgram& WebProgram::instance() {
    static WebProgram program;
    return program;
}

bool WebProgram::parseFrameMs(const std::string& text, std::int64_t& rateNum, std::int64_t& rateDen) {
    std::int64_t whole = 0, scale = 1;
    int decimals = -1;  // -1: no point yet
    if (text.empty() || text.size() > 16) return false;
    for (char c : text) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
            continue;
        }
        if (c < '0' || c > '9') return false;
        whole = whole * 10 + (c - '0');
        if (decimals >= 0 && ++decimals > 6) return false;
    }
    for (int i = 0; i < std::max(decimals, 0); ++i) scale *= 10;
    if (whole <= 0 || text.front() == '.' || text.back() == '.') return false;
    rateNum = 1000 * scale;
    rateDen = whole;
    return true;
}

std::string WebProgram::openDisk(void* bytes, std::size_t size, const std::string& name) {
    stop();
    files_.reset();
    std::string error;
    files_ = platform::file::openDiskInMemory(bytes, size, name, error);
    return files_ ? std::string() : error;
}

std::string WebProgram::start(const TestMode& test) {
    stop();
    if (!files_) return "no disk to play";
    test_ = test;
    input_ = runner::InputScript();
    if (test_.on && !input_.parse(test_.input)) return "the input file cannot be read: " + input_.error();

    window_ = std::make_unique<platform::window::WebWindow>();
    if (test_.on) {
        window_->useScriptedInput();
        auto clock = std::make_unique<runner::VirtualClock>(test_.rateNum, test_.rateDen);
        virtualClock_ = clock.get();
        clock_ = std::move(clock);
        auto joystick = std::make_unique<runner::ScriptedJoystick>(input_.usesJoystick());
        scriptedJoystick_ = joystick.get();
        joystick_ = std::move(joystick);
    } else {
        clock_ = std::make_unique<platform::SdlClock>();
        joystick_ = std::make_unique<platform::SdlJoystick>();
    }
    settings_ = std::make_unique<platform::LocalStorageSettingsStore>();
    // The software renderer: the same pixels as the runner's; the browser paces the frames.
    platform::gfx::SdlGraphics::Options shown;
    shown.waitForRetrace = false;
    shown.refuseAccelerated = true;
    graphics_ = std::make_unique<platform::gfx::SdlGraphics>(shown);
    // The page has one thread: the sound is mixed in the browser's audio callback, which runs on it
    // between frames whenever the browser needs samples, so the mixer never races the frame, and the
    // mix follows the audio clock (the music plays on in a hidden tab, where frames stop). Test
    // mode mixes frame by frame in virtual time, as the runner does, and queues each frame's sound.
    sound_ = std::make_unique<platform::audio::SoftwareSoundLibrary>(
        test_.on ? platform::audio::OutputKind::Pull : platform::audio::OutputKind::DeviceInCallback, files_);

    app::Application::Platform platform;
    platform.window = window_.get();
    platform.clock = clock_.get();
    platform.joystick = joystick_.get();
    platform.settingsStore = settings_.get();
    platform.graphics = graphics_.get();
    platform.sound = sound_.get();
    platform.files = files_;
    app::Application::Options options;
    options.noLauncher = true;  // the page's start screen was the launcher
    application_ = std::make_unique<app::Application>(platform, options);
    application_->setObserver(this);
    mixedFrames_ = 0;
    startKnown_ = false;

    if (const std::optional<int> code = application_->start()) {
        std::string text = window_->messages().empty() ? "the player's window cannot be opened in this page"
                                                       : window_->messages().back();
        if (*code == app::Application::kExitDisplayFailed)
            text = "the display device cannot be made: " + text;
        Page::failed(text);
        application_.reset();
        return text;
    }
    if (!application_->sceneLoaded()) {
        const std::string text = application_->loadError();
        application_->finish();
        Page::failed(text);
        return text;
    }
    if (test_.on && application_->settings().usesound != 0) {
        queued_ = std::make_unique<platform::audio::SdlQueuedDevice>();
        if (!queued_->open(kAudioRate)) queued_.reset();
    }
    Page::playing();
    looping_ = true;
    emscripten_set_main_loop(&WebProgram::tick, 0, 0);
    return {};
}

void WebProgram::stop() {
    if (looping_) {
        emscripten_cancel_main_loop();
        looping_ = false;
        if (application_) application_->finish();
    }
    application_.reset();
    queued_.reset();
    sound_.reset();
    graphics_.reset();
    settings_.reset();
    joystick_.reset();
    scriptedJoystick_ = nullptr;
    clock_.reset();
    virtualClock_ = nullptr;
    window_.reset();
}

void WebProgram::tick() {
    instance().frame();
}

void WebProgram::frame() {
    if (!application_ || !looping_) return;
    if (!application_->frame()) finishRun();
}

void WebProgram::finishRun() {
    emscripten_cancel_main_loop();
    looping_ = false;
    application_->finish();
    Page::ended();
}

void WebProgram::frameStarting(int frame) {
    if (!test_.on) return;
    virtualClock_->setFrame(frame);
    for (const runner::InputAction& a : input_.actionsFor(frame)) {
        switch (a.kind) {
            case runner::InputAction::Kind::Event:
                window_->post(a.event);
                break;
            case runner::InputAction::Kind::Mouse:
                window_->setCursor(a.x, a.y);
                break;
            case runner::InputAction::Kind::Joystick:
                scriptedJoystick_->set(a.joystick);
                break;
        }
    }
}

void WebProgram::framePresented(int frame) {
    mixFor(frame);
    if (test_.on && std::find(test_.shots.begin(), test_.shots.end(), frame) != test_.shots.end()) {
        app::DisplayDevice* display = application_ ? application_->display() : nullptr;
        platform::gfx::Device* device = display ? display->device() : nullptr;
        std::vector<std::uint32_t> pixels;
        int width = 0, height = 0;
        if (device && device->readBackBuffer(pixels, width, height) &&
            runner::PngWriter::write(kShotPath, pixels, width, height)) {
            Page::shot(frame, kShotPath);
        } else {
            std::fprintf(stderr, "quorvart: frame %d cannot be saved\n", frame);
        }
    }
    // A browser shows a gamepad to the page only once one of its buttons is pressed there, which may
    // be after the start: until one is found, the loop looks again every second or so.
    app::MainLoop* loop = application_ ? application_->mainLoop() : nullptr;
    if (!test_.on && loop && !loop->joystickPresent() && frame % kJoystickLookFrames == 0)
        loop->detectJoystick();
    const std::uint64_t mixed = test_.on ? (queued_ ? queued_->queued() : 0) : sound_->delivered();
    Page::frameDrawn(frame, mixed);
}

void WebProgram::mixFor(int frame) {
    std::uint64_t due = 0;
    if (test_.on) {
        due = virtualClock_->at(frame, kAudioRate);
    } else {
        // Without a sound device the mix is taken (and dropped) at real-time pace; with one, the
        // library gives silence here and the device takes the mix itself.
        const std::uint32_t now = clock_->now();
        if (!startKnown_) {
            startMs_ = now;
            startKnown_ = true;
        }
        due = static_cast<std::uint64_t>(now - startMs_) * kAudioRate / 1000;
        if (sound_->delivered() > 0) {
            mixedFrames_ = due;
            return;
        }
    }
    float buffer[4096 * 2];
    while (mixedFrames_ < due) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(due - mixedFrames_, 4096));
        sound_->pull(buffer, n);
        if (queued_) queued_->queue(buffer, n);
        mixedFrames_ += n;
    }
}

}  // namespace qa::web
