// quorvart-run --video: the capture decoded again has the frames and the length the run asked for,
// the sound of --audio in sync, the pictures of --shot; a disk that ends itself ends the video, and
// a capture that cannot be written leaves no file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/audio/decoders/DecoderFactory.h"
#include "runner/PngWriter.h"
#include "support/ModWriter.h"
#include "support/PictureMaker.h"
#include "support/RunnerProcess.h"
#include "support/TempDisk.h"
#include "support/VideoReader.h"

namespace qa::test {
namespace {

namespace fs = std::filesystem;
constexpr int kRate = 44100;

// A disk whose picture changes every frame (a timer moves a striped block above a striped band)
// over a module's tone; Down ends it.
void writeDisk(const TempDisk& disk) {
    PictureMaker back(1024, 268, 0xFF203040u);
    for (int y = 0; y < 268; y += 64) back.fill(0, y, 1024, 32, 0xFF405878u);
    back.savePng((disk.root() / "data/back.png").string());
    PictureMaker block(200, 200, 0xFFE0C020u);
    for (int x = 0; x < 200; x += 80) block.fill(x, 0, 40, 200, 0xFF20A040u);
    block.savePng((disk.root() / "data/block.png").string());
    disk.writeScene(R"(<scene>
        <item name="back" image="data/back.png" x="0" y="500" cx="0" cy="0" onDown="ExitApp"/>
        <item name="b" image="data/block.png" x="0" y="200" cx="0" cy="0"
              onLoad="SetTimer t 0.016 100000 Change b x +23"/>
    </scene>)");
    fs::create_directories(disk.root() / "data/Quorv Part");
    ModWriter::toneSong(2, 32, 6).writeTo((disk.root() / "data/Quorv Part/a.mod").string());
}

std::vector<float> readWav(const std::string& path) {
    int error = 0;
    std::unique_ptr<platform::audio::Decoder> d = platform::audio::DecoderFactory::open(path, error);
    if (!d) return {};
    std::vector<float> out(d->length() * 2);
    out.resize(d->readStereo(out.data(), d->length()) * 2);
    return out;
}

// Normalised correlation at lag 0 of one channel: the decoded sound (whose first sample plays at
// `shift` samples from the first frame) against the WAV.
double correlation(const std::vector<float>& decoded, long shift, const std::vector<float>& wav,
                   int channel) {
    double ab = 0, aa = 0, bb = 0;
    const long wavFrames = static_cast<long>(wav.size() / 2),
               decodedFrames = static_cast<long>(decoded.size() / 2);
    for (long i = 0; i < wavFrames; ++i) {
        const long j = i - shift;
        if (j < 0 || j >= decodedFrames) continue;
        const double x = decoded[static_cast<std::size_t>(j * 2 + channel)],
                     y = wav[static_cast<std::size_t>(i * 2 + channel)];
        ab += x * y, aa += x * x, bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

struct Capture {
    RunResult run;
    VideoReader video;
    std::vector<float> wav;
    std::string readError;
};

Capture capture(const TempDisk& disk, const std::string& name, const std::vector<std::string>& extra,
                const std::vector<int>& keep) {
    Capture c;
    const std::string video = (disk.root() / name).string(), wav = (disk.root() / (name + ".wav")).string();
    std::vector<std::string> args = {disk.root().string(), "--video", video, "--audio", wav};
    args.insert(args.end(), extra.begin(), extra.end());
    c.run = runRunner(args, 120);
    if (c.run.exitCode == 0) c.video.read(video, keep, c.readError);
    c.wav = readWav(wav);
    return c;
}

// The sound of the capture is the WAV's, at lag 0, and as long as it give or take a codec frame.
void expectSameSound(const Capture& c) {
    const double start = c.video.frameTimes.empty() ? 0 : c.video.frameTimes[0];
    const long shift = std::lround((c.video.soundStart - start) * kRate);
    ASSERT_GT(c.wav.size(), 0u);
    for (int channel = 0; channel < 2; ++channel)
        EXPECT_GE(correlation(c.video.sound, shift, c.wav, channel), 0.99) << "channel " << channel;
    const long decodedEnd = shift + static_cast<long>(c.video.sound.size() / 2);
    EXPECT_NEAR(static_cast<double>(decodedEnd), static_cast<double>(c.wav.size() / 2), 2048);
}

TEST(RunnerVideo, Mp4HasEveryFrameItsSoundAndItsPictures) {
    TempDisk disk;
    writeDisk(disk);
    const std::string shot30 = (disk.root() / "30.png").string(), shot33 = (disk.root() / "33.png").string();
    // 60 frames a second: the frame clock and the sound follow 1000000 / 16667 exactly.
    Capture c = capture(
        disk, "out.mp4",
        {"--frames", "90", "--frame-ms", "16.667", "--shot", "30:" + shot30, "--shot", "33:" + shot33},
        {29, 32});
    ASSERT_EQ(c.run.exitCode, 0) << c.run.output;
    ASSERT_TRUE(c.readError.empty()) << c.readError;
    EXPECT_FALSE(fs::exists(disk.root() / "out.mp4.part"));
    // Not a terminal: one summary line.
    EXPECT_NE(c.run.output.find("90 frames"), std::string::npos) << c.run.output;
    EXPECT_EQ(c.run.output.find('\r'), std::string::npos);

    EXPECT_EQ(c.video.videoCodec, "h264");
    EXPECT_EQ(c.video.audioCodec, "aac");
    EXPECT_EQ(c.video.width, 1024);
    EXPECT_EQ(c.video.height, 768);
    ASSERT_EQ(c.video.frameTimes.size(), 90u);
    const double start = c.video.frameTimes[0];
    EXPECT_NEAR(c.video.lastFrameEnd - start, 90 * 0.016667, 1e-6);
    EXPECT_NEAR(c.video.frameTimes[60] - start, 60 * 0.016667, 1e-6);

    // The sound: the WAV holds exactly the run's 90 frames of sound, and the video carries it.
    EXPECT_EQ(c.wav.size() / 2, static_cast<std::size_t>(90LL * kRate * 16667 / 1000000));
    expectSameSound(c);

    // Frame 30 of the run is the video's 30th picture, and not a picture from a few frames off.
    std::vector<std::uint32_t> want30, want33;
    int w = 0, h = 0;
    ASSERT_TRUE(runner::PngWriter::read(shot30, want30, w, h));
    ASSERT_TRUE(runner::PngWriter::read(shot33, want33, w, h));
    ASSERT_LT(VideoReader::psnr(want30, want33), 30.0)
        << "the disk's frames must differ for the check to mean anything";
    EXPECT_GE(VideoReader::psnr(c.video.frames[29], want30), 35.0);
    EXPECT_GE(VideoReader::psnr(c.video.frames[32], want33), 35.0);
    EXPECT_LT(VideoReader::psnr(c.video.frames[29], want33), 30.0);
}

TEST(RunnerVideo, WebmAndMkvCarryTheRunToo) {
    TempDisk disk;
    writeDisk(disk);
    Capture webm = capture(disk, "out.webm", {"--frames", "24", "--frame-ms", "40"}, {});
    ASSERT_EQ(webm.run.exitCode, 0) << webm.run.output;
    ASSERT_TRUE(webm.readError.empty()) << webm.readError;
    EXPECT_EQ(webm.video.videoCodec, "vp9");
    EXPECT_EQ(webm.video.audioCodec, "opus");
    ASSERT_EQ(webm.video.frameTimes.size(), 24u);
    EXPECT_NEAR(webm.video.lastFrameEnd - webm.video.frameTimes[0], 0.96, 1e-3);
    expectSameSound(webm);

    Capture mkv = capture(disk, "out.mkv", {"--frames", "10", "--video-quality", "small"}, {});
    ASSERT_EQ(mkv.run.exitCode, 0) << mkv.run.output;
    ASSERT_TRUE(mkv.readError.empty()) << mkv.readError;
    EXPECT_EQ(mkv.video.videoCodec, "h264");
    EXPECT_EQ(mkv.video.frameTimes.size(), 10u);
}

TEST(RunnerVideo, VideosDeclareTheRateAskedFor) {
    TempDisk disk;
    writeDisk(disk);
    const struct {
        std::vector<std::string> args;
        const char* name;
        int num, den;
    } cases[] = {
        {{}, "default.mp4", 60, 1},
        {{"--fps", "59.94"}, "ntsc.mp4", 60000, 1001},
        {{"--fps", "50"}, "pal.mkv", 50, 1},
        {{"--fps", "25"}, "film.webm", 25, 1},
        {{"--fps", "30000/1001"}, "half.mp4", 30000, 1001},
        {{"--frame-ms", "16.667"}, "ms.mp4", 1000000, 16667},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--frames", "12"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Capture v = capture(disk, c.name, args, {});
        ASSERT_EQ(v.run.exitCode, 0) << c.name << ": " << v.run.output;
        ASSERT_TRUE(v.readError.empty()) << v.readError;
        EXPECT_EQ(v.video.rateNum, c.num) << c.name;
        EXPECT_EQ(v.video.rateDen, c.den) << c.name;
        EXPECT_EQ(v.video.baseRateNum, c.num) << c.name;
        EXPECT_EQ(v.video.baseRateDen, c.den) << c.name;
        ASSERT_EQ(v.video.frameTimes.size(), 12u) << c.name;
        EXPECT_NEAR(v.video.lastFrameEnd - v.video.frameTimes[0], 12.0 * c.den / c.num, 1e-3) << c.name;
        // The run's clock follows the same rate: its sound lasts the 12 frames to the sample.
        EXPECT_EQ(v.wav.size() / 2, static_cast<std::size_t>(12LL * kRate * c.den / c.num)) << c.name;
    }
}

TEST(RunnerVideo, ADiskThatEndsItselfEndsTheVideoThere) {
    TempDisk disk;
    writeDisk(disk);
    const std::string input = (disk.root() / "input.txt").string();
    std::ofstream(input) << "12 key down Down\n";
    Capture c = capture(disk, "out.mp4", {"--frames", "100", "--input", input}, {});
    ASSERT_EQ(c.run.exitCode, 0) << c.run.output;
    ASSERT_TRUE(c.readError.empty()) << c.readError;
    const std::size_t frames = c.video.frameTimes.size();
    EXPECT_GE(frames, 11u);
    EXPECT_LE(frames, 12u);
    // As long as the sound the run made, to the sample (a video's frames are 1/60 s by default).
    EXPECT_EQ(c.wav.size() / 2, frames * kRate / 60);
    EXPECT_NEAR(c.video.lastFrameEnd - c.video.frameTimes[0], frames / 60.0, 1e-9);
    expectSameSound(c);
}

TEST(RunnerVideo, ACaptureThatCannotBeWrittenFailsAndLeavesNoFile) {
    TempDisk disk;
    writeDisk(disk);
    // An extension that names no container: refused before the run.
    const std::string avi = (disk.root() / "out.avi").string();
    RunResult r = runRunner({disk.root().string(), "--frames", "5", "--video", avi});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find(".mp4, .mkv or .webm"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(avi));
    r = runRunner({disk.root().string(), "--video-quality", "best"});
    EXPECT_EQ(r.exitCode, 2);

    // A folder that is not there.
    const std::string nowhere = (disk.root() / "no/such/folder/out.mp4").string();
    r = runRunner({disk.root().string(), "--frames", "5", "--video", nowhere});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find("cannot write the video"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(disk.root() / "no"));

    // A full disk, as a file size limit (the signal ignored, so writes fail as on a full disk):
    // the run stops with an error and neither the video nor its partial file remains.
    // (A backdrop of noise, so the first frames already fill the writer's buffer.)
    PictureMaker noise(1024, 268);
    std::uint32_t seed = 1;
    for (int y = 0; y < 268; ++y)
        for (int x = 0; x < 1024; ++x)
            noise.set(x, y, 0xFF000000u | ((seed = seed * 1664525u + 1013904223u) >> 8));
    noise.savePng((disk.root() / "data/back.png").string());
    const std::string full = (disk.root() / "full.mp4").string();
    const std::string command = "bash -c \"trap '' XFSZ; ulimit -f 8; exec '" + std::string(QA_RUNNER_EXE) +
                                "' '" + disk.root().string() + "' --frames 600 --video '" + full + "'\" 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << status;
    EXPECT_FALSE(fs::exists(full));
    EXPECT_FALSE(fs::exists(full + ".part"));
}

}  // namespace
}  // namespace qa::test
