// The headless runner: the engine without a window, in virtual time, with scripted input,
// screenshots, sound to a WAV file and a trace.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/FrameObserver.h"
#include "runner/InputScript.h"
#include "runner/video/VideoEncoder.h"

namespace qa::app {
class Application;
}
namespace qa::platform {
class FileSource;
}
namespace qa::platform::gfx {
class Device;
}
namespace qa::check {
class FindingReport;
}
namespace qa::platform::audio {
class SoftwareSoundLibrary;
}  // namespace qa::platform::audio

namespace qa::runner {

class HeadlessWindow;
class VirtualClock;
class VideoEncoder;
class WavFileWriter;
class ScriptedJoystick;
class TraceWriter;

struct RunnerOptions {
    std::string dir = ".";
    int frames = 60;
    int frameMs = 16;
    std::string inputPath;
    std::vector<std::pair<int, std::string>> shots;  // frame, PNG path
    std::string audioPath;
    std::string tracePath;
    bool sound = true;
    bool check = false;
    bool json = false;      // --check writes JSON lines
    bool watch = false;     // --check again at every change under data/, until interrupted
    std::string packPath;   // check, then pack the disk into this file; run no frame
    std::string webPath;    // check and pack the disk into this folder with the web player; run no frame
    bool pixels = false;    // draw every frame, not only those saved as screenshots
    int memorySeconds = 0;  // a memory record in the trace every this many virtual seconds (0: none)
    // The frame rate as an exact fraction, frames per second = rateNum / rateDen (from --frame-ms,
    // which may have decimals: 16.667 gives 1000000 / 16667, or from --fps: 59.94 gives 60000 / 1001;
    // 60 / 1 for a video when neither is given). frameMs is its whole milliseconds.
    int rateNum = 125;
    int rateDen = 2;
    std::string rateGiven;     // the option that set the rate, if any
    bool formatGiven = false;  // --format was given
    std::string videoPath;     // every frame and its sound encoded into this video (.mp4, .mkv, .webm)
    runner::VideoQuality videoQuality = runner::VideoQuality::Fast;

    // Parses the command line; false with `error` set when it cannot be used.
    bool parse(int argc, char** argv, std::string& error);
    static const char* usage();
    static const char* version();
};

class Runner : public app::FrameObserver {
  public:
    explicit Runner(RunnerOptions options);
    ~Runner() override;
    // Runs (or checks) the disk; the process exit code.
    int run();

    void frameStarting(int frame) override;
    void framePresented(int frame) override;
    void shuttingDown() override;

  private:
    static constexpr int kAudioRate = 44100;

    // Opens the disk named on the command line: a folder is entered, a .qdisk file is opened.
    bool openDisk();
    // Every output named on the command line may be written: absent or a regular file, none of the
    // run's inputs, no two the same; false, with the reasons on standard error, when not.
    bool checkOutputs() const;
    int check();
    // --check --watch: a round of findings at the start and after every change, until SIGINT.
    int watchChecks();
    // The findings on standard output, as text or JSON lines as asked.
    void writeReport(const check::FindingReport& report) const;
    int pack();
    // The web player's folder for --web; false, saying where it was looked for, when there is none.
    bool findWebPlayer();
    // --web: the disk packed (or copied, when it is packed already) with the web player's files.
    int publish();
    // The display device of the running application, if it has one.
    platform::gfx::Device* device() const;
    // Mixes the sound up to the end of the frame's virtual time (into the WAV file, if any).
    void mixAudio(int frame);
    // Notes the process's memory in the trace when a memory interval has passed.
    void noteMemory(int frame);
    // The virtual time at the end of frame n, in whole milliseconds and in whole sound frames.
    std::uint64_t frameEndMs(int frame) const;
    std::uint64_t frameEndSample(int frame) const;
    // Encodes the frame's picture (the back buffer) into the video.
    void captureFrame(int frame);
    // The progress line on a terminal, at most a few times a second.
    void showProgress(int frame, bool last);
    // Completes the video after the run; false when it could not be completed.
    bool finishVideo();
    // Reports why the video cannot be written and ends the run.
    void videoFailed(const std::string& why);

    RunnerOptions options_;
    InputScript input_;
    std::unique_ptr<HeadlessWindow> window_;
    std::unique_ptr<VirtualClock> clock_;
    std::unique_ptr<ScriptedJoystick> joystick_;
    std::unique_ptr<TraceWriter> trace_;
    std::shared_ptr<platform::FileSource> files_;  // the disk's files
    std::unique_ptr<platform::audio::SoftwareSoundLibrary> sound_;
    std::unique_ptr<runner::WavFileWriter> wav_;
    std::uint64_t audioFrames_ = 0;   // frames mixed so far
    std::uint64_t nextMemoryMs_ = 0;  // virtual time of the next memory record
    int lastFrame_ = 0;
    bool shotFailed_ = false;       // a screenshot asked for was not written
    bool shotWriteFailed_ = false;  // ... because its file could not be written
    app::Application* application_ = nullptr;
    std::unique_ptr<runner::VideoEncoder> video_;
    bool videoFailed_ = false;
    std::vector<std::uint32_t> pixels_;  // the last picture read back, for the video
    int videoWidth_ = 0, videoHeight_ = 0;
    double startSeconds_ = 0;         // wall time at the start of the run
    double lastProgressSeconds_ = 0;  // wall time of the last progress line
    bool progressShown_ = false;
    std::string webPlayer_;  // the web player's folder, for --web
};

}  // namespace qa::runner
