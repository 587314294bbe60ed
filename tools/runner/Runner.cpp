// The runner's options and its run of the engine.
#include "runner/Runner.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/Application.h"
#include "app/DisplayDevice.h"
#include "platform/FileSource.h"
#include "platform/Files.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/audio/WavFileWriter.h"
#include "platform/file/FolderSource.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/PngWriter.h"
#include "platform/gfx/sdl/HeadlessGraphics.h"
#include "runner/DiskPacker.h"
#include "runner/HeadlessWindow.h"
#include "runner/MemorySettingsStore.h"
#include "runner/ProcessMemory.h"
#include "runner/SceneChecker.h"
#include "runner/ScriptedJoystick.h"
#include "runner/TraceWriter.h"
#include "runner/VirtualClock.h"
#include "trace/TraceSink.h"

namespace fs = std::filesystem;

namespace qa::runner {

namespace {

bool positiveInt(const std::string& s, long long max, int& out) {
    char* end = nullptr;
    long long v = std::strtoll(s.c_str(), &end, 10);
    if (s.empty() || !end || *end != '\0' || v < 1 || v > max) return false;
    out = static_cast<int>(v);
    return true;
}

std::string absolute(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::absolute(path, ec);
    return ec ? path : p.string();
}

}  // namespace

const char* RunnerOptions::usage() {
    return "usage: quorvart-run [DISK] [options]\n"
           "  DISK                the disk's folder (holds data/) or a .qdisk file (default: .)\n"
           "  --frames N          run N frames (default 60)\n"
           "  --frame-ms MS       virtual milliseconds per frame (default 16)\n"
           "  --input FILE        timed input, one line each: FRAME ACTION ARGS\n"
           "  --shot N:FILE.png   after frame N is presented, save the back buffer (repeatable)\n"
           "  --audio FILE.wav    mix the sound in virtual time into a WAV file\n"
           "  --trace FILE        write the trace (JSON Lines)\n"
           "  --sound on|off      the usesound setting (default on)\n"
           "  --check             check the scene and report problems; run no frame\n"
           "  --pack FILE.qdisk   check, then pack the scene and the files it uses into one file\n"
           "  --pixels            draw every frame (by default only the screenshots' frames)\n"
           "  --memory SECONDS    note the process's memory in the trace every SECONDS of virtual time\n";
}

bool RunnerOptions::parse(int argc, char** argv, std::string& error) {
    bool haveDir = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = a + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        if (a == "--frames") {
            if (!value(v) || !positiveInt(v, 100000000, frames))
                return error.empty() ? (error = "--frames takes a number from 1", false) : false;
        } else if (a == "--frame-ms") {
            if (!value(v) || !positiveInt(v, 3600000, frameMs))
                return error.empty() ? (error = "--frame-ms takes a number from 1", false) : false;
        } else if (a == "--input") {
            if (!value(inputPath)) return false;
        } else if (a == "--shot") {
            if (!value(v)) return false;
            std::size_t colon = v.find(':');
            int frame;
            if (colon == std::string::npos || !positiveInt(v.substr(0, colon), 100000000, frame) ||
                colon + 1 >= v.size()) {
                error = "--shot takes N:FILE.png";
                return false;
            }
            shots.emplace_back(frame, v.substr(colon + 1));
        } else if (a == "--audio") {
            if (!value(audioPath)) return false;
        } else if (a == "--trace") {
            if (!value(tracePath)) return false;
        } else if (a == "--sound") {
            if (!value(v)) return false;
            if (v != "on" && v != "off") {
                error = "--sound takes on or off";
                return false;
            }
            sound = v == "on";
        } else if (a == "--check") {
            check = true;
        } else if (a == "--pack") {
            if (!value(packPath)) return false;
        } else if (a == "--pixels") {
            pixels = true;
        } else if (a == "--memory") {
            if (!value(v) || !positiveInt(v, 360000, memorySeconds))
                return error.empty() ? (error = "--memory takes a number of seconds from 1", false) : false;
        } else if (a == "--help" || a == "-h") {
            error = "help";
            return false;
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option " + a;
            return false;
        } else if (!haveDir) {
            dir = a;
            haveDir = true;
        } else {
            error = "only one disk may be given";
            return false;
        }
    }
    return true;
}

Runner::Runner(RunnerOptions options) : options_(std::move(options)) {}
Runner::~Runner() = default;

int Runner::run() {
    // Paths on the command line are relative to where the runner was started, not to the disk.
    if (!options_.inputPath.empty()) options_.inputPath = absolute(options_.inputPath);
    if (!options_.tracePath.empty()) options_.tracePath = absolute(options_.tracePath);
    if (!options_.audioPath.empty()) options_.audioPath = absolute(options_.audioPath);
    for (auto& shot : options_.shots) shot.second = absolute(shot.second);
    if (!options_.packPath.empty()) options_.packPath = absolute(options_.packPath);

    if (!options_.inputPath.empty()) {
        std::string text;
        if (!platform::Files::readAll(options_.inputPath, text)) {
            std::fprintf(stderr, "quorvart-run: cannot read the input file %s\n", options_.inputPath.c_str());
            return 2;
        }
        if (!input_.parse(text)) {
            std::fprintf(stderr, "quorvart-run: %s\n", input_.error().c_str());
            return 2;
        }
    }
    if (!openDisk()) return 2;
    if (!options_.packPath.empty()) return pack();
    if (options_.check) return check();

    if (!options_.tracePath.empty()) {
        trace_ = std::make_unique<TraceWriter>(options_.tracePath);
        if (!trace_->ok()) {
            std::fprintf(stderr, "quorvart-run: cannot write the trace file %s\n",
                         options_.tracePath.c_str());
            return 2;
        }
    }

    // Sound is mixed only when the runner asks for it, frame by frame, so tracks end in virtual time.
    sound_ =
        std::make_unique<platform::audio::SoftwareSoundLibrary>(platform::audio::OutputKind::Pull, files_);
    if (!options_.audioPath.empty()) {
        wav_ = std::make_unique<platform::audio::WavFileWriter>(options_.audioPath, kAudioRate, 2);
        if (!wav_->ok()) {
            std::fprintf(stderr, "quorvart-run: cannot write the audio file %s\n",
                         options_.audioPath.c_str());
            return 2;
        }
    }

    window_ = std::make_unique<HeadlessWindow>();
    clock_ = std::make_unique<VirtualClock>(static_cast<std::uint32_t>(options_.frameMs));
    joystick_ = std::make_unique<ScriptedJoystick>(input_.usesJoystick());
    MemorySettingsStore store;
    store.write({{"windowed", 1}, {"usesound", options_.sound ? 1 : 0}});
    // The software renderer over a memory back buffer; it draws pixels only for the frames that are
    // saved as screenshots.
    platform::gfx::HeadlessGraphics graphics;

    app::Application::Platform platform;
    platform.window = window_.get();
    platform.clock = clock_.get();
    platform.joystick = joystick_.get();
    platform.settingsStore = &store;
    platform.graphics = &graphics;
    platform.sound = sound_.get();
    platform.trace = trace_.get();
    platform.files = files_;

    app::Application application(platform);
    application.setObserver(this);
    application_ = &application;
    int code = application.run();
    application_ = nullptr;
    for (const auto& [frame, path] : options_.shots) {
        if (frame > lastFrame_) {
            std::fprintf(stderr, "quorvart-run: frame %d was not reached; %s not written\n", frame,
                         path.c_str());
        }
    }
    std::fflush(stdout);
    if (wav_ && !wav_->close()) {
        std::fprintf(stderr, "quorvart-run: cannot complete the audio file %s\n", options_.audioPath.c_str());
        if (code == 0) code = 2;
    }
    trace_.reset();
    return code;
}

bool Runner::openDisk() {
    if (platform::FileSource::isDiskFile(options_.dir)) {
        std::string error;
        files_ = platform::FileSource::openDisk(options_.dir, error);
        if (!files_) std::fprintf(stderr, "quorvart-run: %s\n", error.c_str());
        return files_ != nullptr;
    }
    // A folder disk is played from inside it, as the program plays the disk in its working folder.
    std::error_code ec;
    fs::current_path(options_.dir, ec);
    if (ec) {
        std::fprintf(stderr, "quorvart-run: cannot enter the folder %s: %s\n", options_.dir.c_str(),
                     ec.message().c_str());
        return false;
    }
    files_ = std::make_shared<platform::file::FolderSource>();
    return true;
}

int Runner::pack() {
    if (platform::FileSource::isDiskFile(options_.dir)) {
        std::fprintf(stderr, "quorvart-run: %s is packed already; give its folder to pack\n",
                     options_.dir.c_str());
        return 2;
    }
    SceneChecker checker;
    std::vector<std::string> problems = checker.check(files_);
    if (!problems.empty()) {
        for (const std::string& p : problems) std::printf("%s\n", p.c_str());
        std::printf("%zu problem%s found; not packed\n", problems.size(), problems.size() == 1 ? "" : "s");
        return 1;
    }
    DiskPacker packer(fs::current_path());
    return packer.pack(options_.packPath, stdout, stderr);
}

int Runner::check() {
    SceneChecker checker;
    std::vector<std::string> problems = checker.check(files_);
    for (const std::string& p : problems) std::printf("%s\n", p.c_str());
    if (problems.empty()) {
        std::printf("no problems found\n");
        return 0;
    }
    std::printf("%zu problem%s found\n", problems.size(), problems.size() == 1 ? "" : "s");
    return 1;
}

void Runner::frameStarting(int frame) {
    lastFrame_ = frame;
    clock_->setFrame(frame);
    if (trace_) trace_->setFrame(frame);
    for (const InputAction& a : input_.actionsFor(frame)) {
        switch (a.kind) {
            case InputAction::Kind::Message:
                window_->post(a.message);
                break;
            case InputAction::Kind::Mouse:
                window_->setCursor(a.x, a.y);
                break;
            case InputAction::Kind::Joystick:
                joystick_->set(a.joystick);
                break;
        }
    }
    if (frame >= options_.frames) window_->post({platform::window::WM_CLOSE, 0, 0});
    if (platform::gfx::Device* device = this->device()) {
        bool wanted = options_.pixels;
        for (const auto& shot : options_.shots) wanted = wanted || shot.first == frame;
        device->setPixelsWanted(wanted);
    }
}

platform::gfx::Device* Runner::device() const {
    app::DisplayDevice* display = application_ ? application_->display() : nullptr;
    return display ? display->device() : nullptr;
}

void Runner::framePresented(int frame) {
    mixAudio(frame);
    noteMemory(frame);
    platform::gfx::Device* device = this->device();
    for (const auto& [shotFrame, path] : options_.shots) {
        if (shotFrame != frame) continue;
        std::vector<std::uint32_t> pixels;
        int width = 0, height = 0;
        if (!device || !device->readBackBuffer(pixels, width, height) ||
            !platform::gfx::PngWriter::write(path, pixels, width, height)) {
            std::fprintf(stderr, "quorvart-run: cannot write the screenshot %s\n", path.c_str());
        }
    }
}

void Runner::noteMemory(int frame) {
    if (!trace_ || options_.memorySeconds <= 0) return;
    const std::uint64_t now =
        static_cast<std::uint64_t>(frame) * static_cast<std::uint64_t>(options_.frameMs);
    // The first frame and every interval after it, and the last frame.
    if (now < nextMemoryMs_ && frame < options_.frames) return;
    while (nextMemoryMs_ <= now) nextMemoryMs_ += static_cast<std::uint64_t>(options_.memorySeconds) * 1000;
    std::uint64_t residentKb = 0, peakKb = 0;
    if (ProcessMemory::read(residentKb, peakKb)) trace_->memory(residentKb, peakKb);
}

void Runner::mixAudio(int frame) {
    // Frame n ends at n x frameMs; whole frames of audio up to there, so rounding never accumulates.
    const std::uint64_t due =
        static_cast<std::uint64_t>(frame) * static_cast<std::uint64_t>(options_.frameMs) * kAudioRate / 1000;
    if (!sound_ || due <= audioFrames_) return;
    float buffer[4096 * 2];
    while (audioFrames_ < due) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(due - audioFrames_, 4096));
        sound_->pull(buffer, n);
        if (wav_) wav_->write(buffer, n);
        audioFrames_ += n;
    }
}

void Runner::shuttingDown() {
    if (trace_) trace_->setFrame(lastFrame_ + 1);
}

}  // namespace qa::runner
