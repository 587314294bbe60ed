// The page's program: plays a packed disk held in memory in the page's canvas, with the SDL window
// over the canvas, SDL's clock and joystick (the browser's gamepads), settings in the browser's local
// storage, the software renderer (the same pixels as the runner's screenshots) and sound mixed where
// the browser's audio asks for it. The browser owns the loop: every page frame runs one frame.
// In test mode the page's frames advance virtual time instead, the input comes from a runner's input
// file, sound is mixed frame by frame as the runner mixes it, and chosen frames are saved as PNG files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/FrameObserver.h"
#include "runner/InputScript.h"

namespace qa::app {
class Application;
}
namespace qa::platform {
class Clock;
class FileSource;
class Joystick;
class LocalStorageSettingsStore;
namespace audio {
class SdlQueuedDevice;
class SoftwareSoundLibrary;
}  // namespace audio
namespace gfx {
class SdlGraphics;
}
namespace window {
class WebWindow;
}
}  // namespace qa::platform
namespace qa::runner {
class ScriptedJoystick;
class VirtualClock;
}  // namespace qa::runner

namespace qa::web {

class WebProgram : public app::FrameObserver {
  public:
    // The page's test mode: virtual time of rateNum / rateDen frames a second, the input file's text,
    // the frames to save.
    struct TestMode {
        bool on = false;
        std::int64_t rateNum = 125;
        std::int64_t rateDen = 2;
        std::string input;
        std::vector<int> shots;
    };
    // Where a saved frame is written in the player's file system.
    static constexpr const char* kShotPath = "/tmp/shot.png";

    static WebProgram& instance();

    // Takes the disk's bytes (allocated with malloc; they become the disk's) in place of the disk
    // there was, whose run is stopped. The error text, or empty when the disk opened.
    std::string openDisk(void* bytes, std::size_t size, const std::string& name);
    // Starts the disk with the stored settings and begins the loop. The error text, or empty.
    std::string start(const TestMode& test);
    // Ends the run (if any) and releases everything it used.
    void stop();

    void frameStarting(int frame) override;
    void framePresented(int frame) override;

    // A frame length in milliseconds as written ("16.667") as a frame rate: 1000 x 10^d / (ms x
    // 10^d) for d decimals; false when it is not a positive number with at most 6 decimals.
    static bool parseFrameMs(const std::string& text, std::int64_t& rateNum, std::int64_t& rateDen);

  private:
    static void tick();
    void frame();
    // The sound up to the end of frame n (test mode), or for the time gone by when nothing else
    // takes the mix, so that tracks end on time.
    void mixFor(int frame);
    // The run is over: its shutdown, then the page's ended screen or error panel.
    void finishRun();

    std::shared_ptr<platform::FileSource> files_;
    TestMode test_;
    runner::InputScript input_;
    std::unique_ptr<platform::window::WebWindow> window_;
    std::unique_ptr<platform::Clock> clock_;
    runner::VirtualClock* virtualClock_ = nullptr;
    std::unique_ptr<platform::Joystick> joystick_;
    runner::ScriptedJoystick* scriptedJoystick_ = nullptr;
    std::unique_ptr<platform::LocalStorageSettingsStore> settings_;
    std::unique_ptr<platform::gfx::SdlGraphics> graphics_;
    std::unique_ptr<platform::audio::SoftwareSoundLibrary> sound_;
    std::unique_ptr<platform::audio::SdlQueuedDevice> queued_;
    std::unique_ptr<app::Application> application_;
    bool looping_ = false;
    std::uint64_t mixedFrames_ = 0;  // frames pulled from the library so far
    std::uint32_t startMs_ = 0;      // real time of the first frame, when the page pulls in real time
    bool startKnown_ = false;
};

}  // namespace qa::web
