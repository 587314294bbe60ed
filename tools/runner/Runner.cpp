// The runner's options and its run of the engine.
#include "runner/Runner.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/Application.h"
#include "app/DisplayDevice.h"
#include "check/EngineDryRun.h"
#include "check/SceneChecker.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/file/DiskSource.h"
#include "platform/file/Files.h"
#include "platform/file/FolderSource.h"
#include "platform/file/OutputFile.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/sdl/HeadlessGraphics.h"
#include "platform/watch/FileWatcher.h"
#include "runner/DiskPacker.h"
#include "runner/HeadlessWindow.h"
#include "runner/MemorySettingsStore.h"
#include "runner/PngWriter.h"
#include "runner/ProcessMemory.h"
#include "runner/ScriptedJoystick.h"
#include "runner/TraceWriter.h"
#include "runner/VirtualClock.h"
#include "runner/WavFileWriter.h"
#include "runner/WebPublisher.h"
#include "scene/Syntax.h"
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

// Wall-clock seconds, for the capture's progress.
double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

bool videoExtension(const std::string& path) {
    const std::string ext = fs::path(path).extension().string();
    return ext == ".mp4" || ext == ".mkv" || ext == ".webm";
}

// Set by SIGINT while --check --watch waits for changes.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
    interrupted = 1;
}

check::FindingReport checkDisk() {
    check::EngineDryRun dryRun;
    check::SceneChecker checker(dryRun.commandWords(), &dryRun);
    return checker.check();
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
           "  --frame-ms MS       virtual milliseconds per frame, decimals allowed (default 16, or\n"
           "                      1000/60 with --video)\n"
           "  --fps RATE          frames a second instead: 60, 50, 30, 25, 59.94 (60000/1001), 29.97,\n"
           "                      23.976 or any other rate, also as a fraction (60000/1001)\n"
           "  --input FILE        timed input, one line each: FRAME ACTION ARGS\n"
           "  --shot N:FILE.png   after frame N is presented, save the back buffer (repeatable)\n"
           "  --audio FILE.wav    mix the sound in virtual time into a WAV file\n"
           "  --trace FILE        write the trace (JSON Lines)\n"
           "  --sound on|off      the usesound setting (default on)\n"
           "  --check             check the scene and report problems; run no frame; exit 1 on errors\n"
           "  --format text|json  how --check writes its findings (default text; json: JSON lines)\n"
           "  --watch             with --check: check again at every change under data/, each round\n"
           "                      after a header line, until interrupted (Ctrl-C)\n"
           "  --pack FILE.qdisk   check, then pack the scene and the files it uses into one file\n"
           "  --web FOLDER        check and pack the disk as FOLDER/disk.qdisk beside the web player\n"
           "                      (index.html): a page any static web server serves\n"
           "  --pixels            draw every frame (by default only the screenshots' frames)\n"
           "  --video FILE        encode every frame and its sound into a video: .mp4 or .mkv\n"
           "                      (H.264 and AAC), .webm (VP9 and Opus)\n"
           "  --video-quality fast|small  quicker encoding or smaller file (default fast)\n"
           "  --memory SECONDS    note the process's memory in the trace every SECONDS of virtual time\n"
           "  --help              show this text\n"
           "  --version           show the version\n";
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
            // An exact fraction, so frames of 16.667 ms stay on the 60-a-second clock over any length.
            int num = 0, den = 0;
            if (!value(v) || !runner::VideoEncoder::frameRateFromMs(v, num, den) ||
                static_cast<std::int64_t>(den) * 1000 < num ||
                static_cast<std::int64_t>(den) * 1000 > static_cast<std::int64_t>(num) * 3600000)
                return error.empty() ? (error = "--frame-ms takes a number from 1", false) : false;
            if (rateGiven == "--fps") return error = "--frame-ms and --fps exclude each other", false;
            rateGiven = a;
            rateNum = num;
            rateDen = den;
            frameMs = static_cast<int>(static_cast<std::int64_t>(den) * 1000 / num);
        } else if (a == "--fps") {
            // The same bounds as --frame-ms: frames from 1 ms to an hour long.
            int num = 0, den = 0;
            if (!value(v) || !runner::VideoEncoder::frameRateFromFps(v, num, den) ||
                static_cast<std::int64_t>(den) * 1000 < num ||
                static_cast<std::int64_t>(den) * 1000 > static_cast<std::int64_t>(num) * 3600000)
                return error.empty()
                           ? (error = "--fps takes a rate from 1/3600 to 1000 frames a second", false)
                           : false;
            if (rateGiven == "--frame-ms") return error = "--frame-ms and --fps exclude each other", false;
            rateGiven = a;
            rateNum = num;
            rateDen = den;
            frameMs = static_cast<int>(static_cast<std::int64_t>(den) * 1000 / num);
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
        } else if (a == "--video") {
            if (!value(videoPath)) return false;
            if (!videoExtension(videoPath)) {
                error = "--video writes .mp4, .mkv or .webm files, not " + videoPath;
                return false;
            }
        } else if (a == "--video-quality") {
            if (!value(v)) return false;
            if (v != "fast" && v != "small") {
                error = "--video-quality takes fast or small";
                return false;
            }
            videoQuality = v == "fast" ? runner::VideoQuality::Fast : runner::VideoQuality::Small;
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
        } else if (a == "--watch") {
            watch = true;
        } else if (a == "--format") {
            if (!value(v)) return false;
            if (v != "text" && v != "json") {
                error = "--format takes text or json";
                return false;
            }
            json = v == "json";
            formatGiven = true;
        } else if (a == "--pack") {
            if (!value(packPath)) return false;
        } else if (a == "--web") {
            if (!value(webPath)) return false;
        } else if (a == "--pixels") {
            pixels = true;
        } else if (a == "--memory") {
            if (!value(v) || !positiveInt(v, 360000, memorySeconds))
                return error.empty() ? (error = "--memory takes a number of seconds from 1", false) : false;
        } else if (a == "--help" || a == "-h") {
            error = "help";
            return false;
        } else if (a == "--version") {
            error = "version";
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
    if (watch && (!check || !packPath.empty())) {
        error = "--watch goes with --check alone";
        return false;
    }
    if (!webPath.empty() && (check || !packPath.empty())) {
        error = check ? "--web and --check exclude each other" : "--web and --pack exclude each other";
        return false;
    }
    if (formatGiven && !check) {
        error = "--format applies to --check only";
        return false;
    }
    // A video plays at a rate players know: 60 frames a second unless another was asked for.
    if (!videoPath.empty() && rateGiven.empty()) {
        rateNum = 60;
        rateDen = 1;
        frameMs = 16;
    }
    return true;
}

const char* RunnerOptions::version() {
    return "quorvart-run 1.1\n";
}

Runner::Runner(RunnerOptions options) : options_(std::move(options)) {}
Runner::~Runner() = default;

int Runner::run() {
    // Paths on the command line are relative to where the runner was started, not to the disk.
    if (!options_.inputPath.empty()) options_.inputPath = absolute(options_.inputPath);
    if (!options_.tracePath.empty()) options_.tracePath = absolute(options_.tracePath);
    if (!options_.audioPath.empty()) options_.audioPath = absolute(options_.audioPath);
    if (!options_.videoPath.empty()) options_.videoPath = absolute(options_.videoPath);
    for (auto& shot : options_.shots) shot.second = absolute(shot.second);
    if (!options_.packPath.empty()) options_.packPath = absolute(options_.packPath);
    if (!options_.webPath.empty()) options_.webPath = absolute(options_.webPath);
    if (!checkOutputs()) return 2;

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
    // The player is looked for from where the runner was started (the disk may change that).
    if (!options_.webPath.empty() && !findWebPlayer()) return 2;
    if (!openDisk()) return 2;
    if (!options_.packPath.empty()) return pack();
    if (!options_.webPath.empty()) return publish();
    if (options_.check && platform::file::isDiskFile(options_.dir)) {
        // The checker reads a disk folder: a packed disk was checked from its folder when it was packed.
        std::fprintf(stderr, "quorvart-run: --check reads a disk folder; %s is packed already\n",
                     options_.dir.c_str());
        return 2;
    }
    if (options_.check) return check();

    if (!options_.tracePath.empty()) {
        trace_ = std::make_unique<TraceWriter>(options_.tracePath);
        if (!trace_->ok()) {
            std::fprintf(stderr, "quorvart-run: cannot write the trace file %s: %s\n",
                         options_.tracePath.c_str(), trace_->error().c_str());
            return 2;
        }
    }

    // Sound is mixed only when the runner asks for it, frame by frame, so tracks end in virtual time.
    sound_ =
        std::make_unique<platform::audio::SoftwareSoundLibrary>(platform::audio::OutputKind::Pull, files_);
    if (!options_.audioPath.empty()) {
        wav_ = std::make_unique<runner::WavFileWriter>(options_.audioPath, kAudioRate, 2);
        if (!wav_->ok()) {
            std::fprintf(stderr, "quorvart-run: cannot write the audio file %s\n",
                         options_.audioPath.c_str());
            return 2;
        }
    }

    window_ = std::make_unique<HeadlessWindow>();
    clock_ = std::make_unique<VirtualClock>(options_.rateNum, options_.rateDen);
    // The video is opened at the first frame, when the picture's size is known.
    if (!options_.videoPath.empty()) video_ = std::make_unique<runner::VideoEncoder>();
    startSeconds_ = lastProgressSeconds_ = wallSeconds();
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
            shotFailed_ = true;
        }
    }
    // Everything else was done; a screenshot asked for and not written still fails the run.
    if (shotFailed_ && code == 0) code = shotWriteFailed_ ? 2 : 1;
    std::fflush(stdout);
    if (video_ && !finishVideo() && code == 0) code = 2;
    if (wav_ && !wav_->close()) {
        std::fprintf(stderr, "quorvart-run: cannot complete the audio file %s\n", options_.audioPath.c_str());
        if (code == 0) code = 2;
    }
    std::string error;
    if (trace_ && !trace_->finish(error)) {
        std::fprintf(stderr, "quorvart-run: cannot complete the trace file: %s\n", error.c_str());
        if (code == 0) code = 2;
    }
    trace_.reset();
    return code;
}

bool Runner::checkOutputs() const {
    // What the run reads: the timed input, a packed disk, or every file of a folder disk's data.
    std::vector<fs::path> inputs;
    if (!options_.inputPath.empty()) inputs.emplace_back(options_.inputPath);
    if (platform::file::isDiskFile(options_.dir)) {
        inputs.emplace_back(absolute(options_.dir));
    } else {
        inputs.push_back(platform::Files::resolve("data", absolute(options_.dir)));
    }
    std::vector<std::pair<std::string, std::string>> outputs;  // what, where
    if (!options_.packPath.empty()) outputs.emplace_back("--pack", options_.packPath);
    if (!options_.tracePath.empty()) outputs.emplace_back("--trace", options_.tracePath);
    if (!options_.audioPath.empty()) outputs.emplace_back("--audio", options_.audioPath);
    if (!options_.videoPath.empty()) outputs.emplace_back("--video", options_.videoPath);
    for (const auto& shot : options_.shots) outputs.emplace_back("--shot", shot.second);
    bool ok = true;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        std::string refused = platform::OutputFile::refusal(outputs[i].second, inputs);
        for (std::size_t j = 0; j < i && refused.empty(); ++j) {
            std::error_code a, b;
            if (fs::weakly_canonical(outputs[j].second, a) == fs::weakly_canonical(outputs[i].second, b))
                refused = outputs[i].second + " is named by " + outputs[j].first +
                          " already; each output needs a file of its own";
        }
        if (!refused.empty()) {
            std::fprintf(stderr, "quorvart-run: %s %s\n", outputs[i].first.c_str(), refused.c_str());
            ok = false;
        }
    }
    return ok;
}

bool Runner::openDisk() {
    if (platform::file::isDiskFile(options_.dir)) {
        std::string error;
        files_ = platform::file::openDisk(options_.dir, error);
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
    if (platform::file::isDiskFile(options_.dir)) {
        std::fprintf(stderr, "quorvart-run: %s is packed already; give its folder to pack\n",
                     options_.dir.c_str());
        return 2;
    }
    // Errors keep a disk from being packed; warnings are shown and the disk is packed.
    const check::FindingReport report = checkDisk();
    if (report.errors() > 0) {
        report.writeText(stdout);
        std::printf("not packed\n");
        return 1;
    }
    DiskPacker packer(fs::current_path());
    return packer.pack(options_.packPath, stdout, stderr);
}

bool Runner::findWebPlayer() {
    std::vector<std::string> looked;
    const std::string found = WebPublisher::findPlayer(WebPublisher::defaultPlaces(), looked).string();
    webPlayer_ = found.empty() ? found : absolute(found);
    if (webPlayer_.empty()) {
        std::string places;
        for (const std::string& place : looked) places += "\n  " + place;
        std::fprintf(
            stderr,
            "quorvart-run: --web needs the web player, and none was found in:%s\n"
            "quorvart-run: build it with \"bash tools/web/build-player.sh\" in the source folder "
            "(its last line names the player's folder), or name a player's folder in QA_WEB_PLAYER\n",
            places.c_str());
    }
    return !webPlayer_.empty();
}

int Runner::publish() {
    WebPublisher web(webPlayer_, options_.webPath);
    const bool packed = platform::file::isDiskFile(options_.dir);
    // What the run reads: the packed disk, or the disk folder's data.
    std::vector<fs::path> inputs = {packed ? fs::path(absolute(options_.dir))
                                           : platform::Files::resolve("data", fs::current_path())};
    const std::vector<std::string> refusals = web.refusals(inputs);
    for (const std::string& refused : refusals)
        std::fprintf(stderr, "quorvart-run: --web %s\n", refused.c_str());
    if (!refusals.empty()) return 2;
    std::string reason;
    if (packed) {
        // A packed disk was checked when it was packed; it goes in as it is.
        if (!web.makeFolder(reason) || !web.copyIn(absolute(options_.dir), WebPublisher::kDiskName, reason)) {
            std::fprintf(stderr, "quorvart-run: %s\n", reason.c_str());
            return 2;
        }
    } else {
        const check::FindingReport report = checkDisk();
        if (report.errors() > 0) {
            report.writeText(stdout);
            std::printf("not published\n");
            return 1;
        }
        if (!web.makeFolder(reason)) {
            std::fprintf(stderr, "quorvart-run: %s\n", reason.c_str());
            return 2;
        }
        DiskPacker packer(fs::current_path());
        if (const int code = packer.pack(web.diskPath(), stdout, stderr); code != 0) return code;
    }
    if (!web.copyPlayer(reason)) {
        std::fprintf(stderr, "quorvart-run: %s\n", reason.c_str());
        return 2;
    }
    std::string names;
    for (const fs::path& file : web.playerFiles()) names += file.filename().string() + ", ";
    std::printf("published into %s: %s%s\n", options_.webPath.c_str(), names.c_str(),
                WebPublisher::kDiskName);
    std::printf(
        "serve the folder with any static web server (.wasm as application/wasm) and open "
        "index.html, e.g. python3 -m http.server --directory %s\n",
        options_.webPath.c_str());
    return 0;
}

int Runner::check() {
    if (options_.watch) return watchChecks();
    const check::FindingReport report = checkDisk();
    writeReport(report);
    return report.exitCode();
}

void Runner::writeReport(const check::FindingReport& report) const {
    if (options_.json) {
        report.writeJson(stdout);
    } else {
        report.writeText(stdout);
    }
    std::fflush(stdout);
}

int Runner::watchChecks() {
    std::unique_ptr<platform::watch::FileWatcher> watcher = platform::watch::FileWatcher::create();
    if (!watcher->watch(scene::Syntax::kDataFolder)) {
        std::fprintf(stderr, "quorvart-run: cannot watch the folder data\n");
        return 2;
    }
    struct sigaction action {};
    action.sa_handler = onInterrupt;  // no SA_RESTART: the wait ends at once
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    std::vector<std::string> changed;
    for (int round = 1; !interrupted; ++round) {
        // The header: which round, and what changed since the one before (nothing for the first).
        if (options_.json) {
            std::string names;
            for (const std::string& path : changed)
                names += (names.empty() ? "" : ",") + check::Finding::jsonString(path);
            std::printf("{\"round\":%d,\"changed\":[%s]}\n", round, names.c_str());
        } else {
            std::string names;
            for (const std::string& path : changed) names += (names.empty() ? "" : ", ") + path;
            std::printf("== check %d: %s ==\n", round, round == 1 ? "start" : names.c_str());
        }
        const check::FindingReport report = checkDisk();
        writeReport(report);
        // The next change, and what else comes with it while the save settles.
        changed.clear();
        auto collect = [&] {
            bool any = false;
            for (const std::string& path : watcher->changes()) {
                const std::string name = path.empty() ? "data" : "data/" + path;
                if (std::find(changed.begin(), changed.end(), name) == changed.end()) changed.push_back(name);
                any = true;
            }
            return any;
        };
        while (!interrupted && !collect()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (!interrupted && collect());
    }
    std::fflush(stdout);
    return 0;
}

void Runner::frameStarting(int frame) {
    lastFrame_ = frame;
    clock_->setFrame(frame);
    if (trace_) trace_->setFrame(frame);
    for (const InputAction& a : input_.actionsFor(frame)) {
        switch (a.kind) {
            case InputAction::Kind::Event:
                window_->post(a.event);
                break;
            case InputAction::Kind::Mouse:
                window_->setCursor(a.x, a.y);
                break;
            case InputAction::Kind::Joystick:
                joystick_->set(a.joystick);
                break;
        }
    }
    if (frame >= options_.frames) window_->post(platform::window::InputEvent::close());
    if (platform::gfx::Device* device = this->device()) {
        bool wanted = options_.pixels || video_ != nullptr;
        for (const auto& shot : options_.shots) wanted = wanted || shot.first == frame;
        device->setPixelsWanted(wanted);
    }
}

platform::gfx::Device* Runner::device() const {
    app::DisplayDevice* display = application_ ? application_->display() : nullptr;
    return display ? display->device() : nullptr;
}

void Runner::framePresented(int frame) {
    // The picture first: the video is opened with the first frame's size, before any sound.
    if (video_) captureFrame(frame);
    mixAudio(frame);
    noteMemory(frame);
    if (video_) showProgress(frame, false);
    platform::gfx::Device* device = this->device();
    for (const auto& [shotFrame, path] : options_.shots) {
        if (shotFrame != frame) continue;
        std::vector<std::uint32_t> pixels;
        int width = 0, height = 0;
        const bool read = device && device->readBackBuffer(pixels, width, height);
        if (!read || !runner::PngWriter::write(path, pixels, width, height)) {
            std::fprintf(stderr, "quorvart-run: cannot write the screenshot %s\n", path.c_str());
            shotFailed_ = true;
            shotWriteFailed_ = shotWriteFailed_ || read;
        }
    }
}

void Runner::noteMemory(int frame) {
    if (!trace_ || options_.memorySeconds <= 0) return;
    const std::uint64_t now = frameEndMs(frame);
    // The first frame and every interval after it, and the last frame.
    if (now < nextMemoryMs_ && frame < options_.frames) return;
    while (nextMemoryMs_ <= now) nextMemoryMs_ += static_cast<std::uint64_t>(options_.memorySeconds) * 1000;
    std::uint64_t residentKb = 0, peakKb = 0;
    if (ProcessMemory::read(residentKb, peakKb)) trace_->memory(residentKb, peakKb);
}

void Runner::mixAudio(int frame) {
    // Frame n ends at n frame lengths; whole frames of audio up to there, computed from the exact
    // frame rate each time, so rounding never accumulates.
    const std::uint64_t due = frameEndSample(frame);
    if (!sound_ || due <= audioFrames_) return;
    float buffer[4096 * 2];
    while (audioFrames_ < due) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(due - audioFrames_, 4096));
        sound_->pull(buffer, n);
        if (wav_) wav_->write(buffer, n);
        if (video_ && !videoFailed_ && !video_->addAudio(buffer, n)) videoFailed(video_->error());
        audioFrames_ += n;
    }
}

std::uint64_t Runner::frameEndMs(int frame) const {
    return clock_->at(frame, 1000);
}

std::uint64_t Runner::frameEndSample(int frame) const {
    return clock_->at(frame, kAudioRate);
}

void Runner::videoFailed(const std::string& why) {
    if (videoFailed_) return;
    videoFailed_ = true;
    if (progressShown_) std::fputc('\n', stderr);
    progressShown_ = false;
    std::fprintf(stderr, "quorvart-run: cannot write the video %s: %s\n", options_.videoPath.c_str(),
                 why.c_str());
    video_->abort();
    window_->post(platform::window::InputEvent::close());
}

void Runner::captureFrame(int frame) {
    if (videoFailed_) return;
    platform::gfx::Device* device = this->device();
    std::vector<std::uint32_t> picture;
    int width = 0, height = 0;
    const bool read = device && device->readBackBuffer(picture, width, height) && width > 0 && height > 0;
    if (videoWidth_ == 0) {
        // The video takes the size of the first picture (the display's size when there is none).
        videoWidth_ = read ? width : 1024;
        videoHeight_ = read ? height : 768;
        if (!video_->open(options_.videoPath, videoWidth_, videoHeight_, options_.rateNum, options_.rateDen,
                          options_.videoQuality)) {
            videoFailed(video_->error());
            return;
        }
        pixels_.assign(static_cast<std::size_t>(videoWidth_) * static_cast<std::size_t>(videoHeight_),
                       0xFF000000u);
    }
    if (read && width == videoWidth_ && height == videoHeight_) {
        pixels_.swap(picture);
    } else if (read) {
        // A display of another size: scaled to the video's size, nearest pixel.
        for (int y = 0; y < videoHeight_; ++y) {
            const std::size_t from = static_cast<std::size_t>(y * height / videoHeight_) * width;
            for (int x = 0; x < videoWidth_; ++x)
                pixels_[static_cast<std::size_t>(y) * videoWidth_ + x] =
                    picture[from + x * width / videoWidth_];
        }
    }
    // Without a picture this frame, the last one is shown again so the frame clock stays whole.
    if (!video_->addFrame(pixels_.data())) videoFailed(video_->error());
    (void)frame;
}

void Runner::showProgress(int frame, bool last) {
    if (videoFailed_ || !isatty(STDERR_FILENO)) return;
    const double now = wallSeconds();
    if (!last && now - lastProgressSeconds_ < 0.25) return;
    lastProgressSeconds_ = now;
    const double elapsed = std::max(now - startSeconds_, 1e-6);
    const double fps = frame / elapsed;
    const double left = fps > 0 ? (options_.frames - frame) / fps : 0;
    std::fprintf(stderr, "\rquorvart-run: frame %d of %d (%d%%), %.1f frames/s, %.0f s left   ", frame,
                 options_.frames, static_cast<int>(100LL * frame / options_.frames), fps,
                 std::max(left, 0.0));
    std::fflush(stderr);
    progressShown_ = true;
}

bool Runner::finishVideo() {
    if (videoFailed_) return false;
    if (videoWidth_ == 0) {
        std::fprintf(stderr, "quorvart-run: no frame was shown; the video %s was not written\n",
                     options_.videoPath.c_str());
        return false;
    }
    const std::int64_t frames = video_->framesWritten();
    if (!video_->finish()) {
        videoFailed(video_->error());
        return false;
    }
    if (progressShown_) std::fputc('\n', stderr);
    progressShown_ = false;
    const double elapsed = std::max(wallSeconds() - startSeconds_, 1e-6);
    const double length = static_cast<double>(frames) * options_.rateDen / options_.rateNum;
    std::fprintf(stderr, "quorvart-run: wrote %s: %lld frames, %.3f s, in %.1f s (%.1f frames/s)\n",
                 options_.videoPath.c_str(), static_cast<long long>(frames), length, elapsed,
                 static_cast<double>(frames) / elapsed);
    return true;
}

void Runner::shuttingDown() {
    if (trace_) trace_->setFrame(lastFrame_ + 1);
}

}  // namespace qa::runner
