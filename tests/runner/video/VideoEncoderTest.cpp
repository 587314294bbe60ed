// Video files written and decoded again: frame count and times, picture fidelity, sound in sync,
// and failures that leave no file that looks complete.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "runner/video/VideoEncoder.h"
#include "support/TempDisk.h"
#include "support/VideoReader.h"

extern "C" {
#include <libavutil/log.h>
}

namespace qa::runner {
namespace {

// The encoders' statistics are not wanted in the test output.
const int kQuiet = (av_log_set_level(AV_LOG_ERROR), 0);

constexpr int kW = 1024, kH = 768;
constexpr double kPi = 3.14159265358979323846;

// Frame k: a smooth gradient that moves, a block of one of six known colours, and a field of small
// light squares on dark (like text) whose phase changes with k.
std::vector<std::uint32_t> sourceFrame(int k) {
    static const std::uint32_t colours[6] = {0xFFE03020u, 0xFF20C040u, 0xFF3050E0u,
                                             0xFFF0D020u, 0xFFFFFFFFu, 0xFF101010u};
    std::vector<std::uint32_t> px(static_cast<std::size_t>(kW) * kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            auto r = static_cast<std::uint32_t>((x + k * 4) * 255 / (kW + 200));
            auto g = static_cast<std::uint32_t>(y * 255 / kH);
            auto b = static_cast<std::uint32_t>(128 + 100 * std::sin((x + y) / 90.0 + k * 0.2));
            std::uint32_t p = 0xFF000000u | r << 16 | g << 8 | b;
            if (x >= 100 && x < 400 && y >= 100 && y < 300) p = colours[k % 6];
            if (x >= 500 && x < 900 && y >= 400 && y < 700) {
                const bool lit = ((x + k) / 4 + y / 6) % 3 == 0;
                p = lit ? 0xFFF0F0E0u : 0xFF202030u;
            }
            px[static_cast<std::size_t>(y) * kW + x] = p;
        }
    }
    return px;
}

// Stereo: a rising sweep on the left, a falling one on the right; cross-correlation away from lag
// 0 drops fast, so a shift of the sound shows.
float sourceSample(std::int64_t i, int channel) {
    const double t = static_cast<double>(i) / VideoEncoder::kAudioRate;
    const double f = channel == 0 ? 200 + 2000 * t : 3000 - 2000 * t;
    return static_cast<float>((channel == 0 ? 0.5 : 0.4) * std::sin(2 * kPi * f * t));
}

// Normalised cross-correlation of one channel, a's sample i + lag against b's sample i.
double correlation(const std::vector<float>& a, const std::vector<float>& b, int channel, int lag = 0) {
    double ab = 0, aa = 0, bb = 0;
    const long frames = static_cast<long>(std::min(a.size(), b.size()) / 2);
    for (long i = std::max(0L, -static_cast<long>(lag)); i < frames && i + lag < frames; ++i) {
        const double x = a[static_cast<std::size_t>((i + lag) * 2 + channel)];
        const double y = b[static_cast<std::size_t>(i * 2 + channel)];
        ab += x * y, aa += x * x, bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

struct Encoded {
    std::vector<float> sound;  // what was given
    std::vector<std::uint32_t> frame15;
};

// Encodes `frames` frames as a player would: each frame's picture, then the sound up to its end
// (the audio clock counts whole samples from the start, so rounding never accumulates).
Encoded encode(VideoEncoder& encoder, int frames, int rateNum, int rateDen) {
    Encoded e;
    std::int64_t given = 0;
    for (int f = 1; f <= frames; ++f) {
        std::vector<std::uint32_t> px = sourceFrame(f - 1);
        EXPECT_TRUE(encoder.addFrame(px.data())) << encoder.error();
        if (f - 1 == 15) e.frame15 = px;
        const std::int64_t due = static_cast<std::int64_t>(f) * VideoEncoder::kAudioRate * rateDen / rateNum;
        std::vector<float> chunk;
        for (; given < due; ++given) {
            chunk.push_back(sourceSample(given, 0));
            chunk.push_back(sourceSample(given, 1));
        }
        EXPECT_TRUE(encoder.addAudio(chunk.data(), chunk.size() / 2)) << encoder.error();
        e.sound.insert(e.sound.end(), chunk.begin(), chunk.end());
    }
    return e;
}

void checkFile(const std::string& path, VideoQuality quality, const char* videoCodec,
               const char* audioCodec) {
    SCOPED_TRACE(path);
    VideoEncoder encoder;
    ASSERT_TRUE(encoder.open(path, kW, kH, 1000, 16, quality)) << encoder.error();
    Encoded e = encode(encoder, 30, 1000, 16);
    EXPECT_EQ(encoder.framesWritten(), 30);
    EXPECT_FALSE(std::filesystem::exists(path)) << "named before it is complete";
    ASSERT_TRUE(encoder.finish()) << encoder.error();
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));

    test::VideoReader reader;
    std::string error;
    ASSERT_TRUE(reader.read(path, {15}, error)) << error;
    EXPECT_EQ(reader.videoCodec, videoCodec);
    EXPECT_EQ(reader.audioCodec, audioCodec);
    EXPECT_EQ(reader.width, kW);
    EXPECT_EQ(reader.height, kH);
    ASSERT_EQ(reader.frameTimes.size(), 30u);
    // Times from the first frame (a container may start it a little after 0, see below).
    const double start = reader.frameTimes[0];
    EXPECT_LT(start, 0.05);
    for (std::size_t i = 0; i < reader.frameTimes.size(); ++i)
        EXPECT_NEAR(reader.frameTimes[i] - start, i * 0.016, 1e-9) << "frame " << i;
    EXPECT_NEAR(reader.lastFrameEnd - start, 0.48, 1e-9);
    ASSERT_EQ(reader.frames.count(15), 1u);
    EXPECT_GE(test::VideoReader::psnr(reader.frames[15], e.frame15), 35.0);
    // The sound as it plays against the picture: decoded samples placed by their time from the
    // first frame. It lines up with what was given to the sample and lasts as long, give or take
    // the padding of the codec's last frame.
    const long shift = std::lround((reader.soundStart - start) * VideoEncoder::kAudioRate);
    std::vector<float> played = reader.sound;
    if (shift < 0) {
        played.erase(played.begin(),
                     played.begin() + std::min<long>(-shift * 2, static_cast<long>(played.size())));
    } else {
        played.insert(played.begin(), static_cast<std::size_t>(shift) * 2, 0.0f);
    }
    const long extra = static_cast<long>(played.size() / 2) - static_cast<long>(e.sound.size() / 2);
    EXPECT_GE(extra, 0);
    EXPECT_LE(extra, 1103) << "samples beyond the end";  // one codec frame: 1024, or 960 at 48000 Hz
    EXPECT_GE(correlation(played, e.sound, 0), 0.99);
    EXPECT_GE(correlation(played, e.sound, 1), 0.99);
    // A shift of one sample already shows: the sound is placed to the sample.
    EXPECT_LT(correlation(played, e.sound, 0, 1), correlation(played, e.sound, 0));
    EXPECT_LT(correlation(played, e.sound, 0, -1), correlation(played, e.sound, 0));
}

TEST(VideoEncoder, Mp4HoldsH264AndAacFramesAndSoundInSync) {
    test::TempDisk disk;
    checkFile((disk.root() / "fast.mp4").string(), VideoQuality::Fast, "h264", "aac");
    checkFile((disk.root() / "small.MP4").string(), VideoQuality::Small, "h264", "aac");
}

TEST(VideoEncoder, MkvHoldsH264AndAac) {
    test::TempDisk disk;
    checkFile((disk.root() / "out.mkv").string(), VideoQuality::Fast, "h264", "aac");
}

TEST(VideoEncoder, WebmHoldsVp9AndOpusResampledTo48000) {
    test::TempDisk disk;
    checkFile((disk.root() / "out.webm").string(), VideoQuality::Fast, "vp9", "opus");
}

TEST(VideoEncoder, FractionalFrameDurationsKeepAnExactClock) {
    int num = 0, den = 0;
    ASSERT_TRUE(VideoEncoder::frameRateFromMs("16.667", num, den));
    EXPECT_EQ(num, 1000000);
    EXPECT_EQ(den, 16667);
    ASSERT_TRUE(VideoEncoder::frameRateFromMs("16", num, den));
    EXPECT_EQ(num, 125);
    EXPECT_EQ(den, 2);
    ASSERT_TRUE(VideoEncoder::frameRateFromMs("40.000", num, den));
    EXPECT_EQ(num, 25);
    EXPECT_EQ(den, 1);
    for (const char* bad : {"", "0", "0.000", "-16", "1.2.3", "16ms", "16.1234567", ".5e3"}) {
        EXPECT_FALSE(VideoEncoder::frameRateFromMs(bad, num, den)) << bad;
    }

    test::TempDisk disk;
    const std::string path = (disk.root() / "frac.mp4").string();
    VideoEncoder encoder;
    ASSERT_TRUE(VideoEncoder::frameRateFromMs("16.667", num, den));
    ASSERT_TRUE(encoder.open(path, kW, kH, num, den, VideoQuality::Fast)) << encoder.error();
    Encoded e = encode(encoder, 60, num, den);
    ASSERT_TRUE(encoder.finish()) << encoder.error();
    test::VideoReader reader;
    std::string error;
    ASSERT_TRUE(reader.read(path, {}, error)) << error;
    ASSERT_EQ(reader.frameTimes.size(), 60u);
    // Frame i starts at exactly i x 16.667 ms: no rounding adds up.
    for (std::size_t i = 0; i < reader.frameTimes.size(); ++i)
        EXPECT_NEAR(reader.frameTimes[i], i * 0.016667, 1e-9) << "frame " << i;
    EXPECT_NEAR(reader.lastFrameEnd, 60 * 0.016667, 1e-9);
    EXPECT_GE(correlation(reader.sound, e.sound, 0), 0.99);
}

TEST(VideoEncoder, FailuresLeaveNoFileThatLooksComplete) {
    test::TempDisk disk;
    VideoEncoder encoder;
    // Unknown kinds and impossible sizes are refused before anything is written.
    EXPECT_FALSE(encoder.open((disk.root() / "out.avi").string(), kW, kH, 60, 1, VideoQuality::Fast));
    EXPECT_NE(encoder.error().find("use .mp4, .mkv or .webm"), std::string::npos) << encoder.error();
    EXPECT_FALSE(encoder.open((disk.root() / "out").string(), kW, kH, 60, 1, VideoQuality::Fast));
    EXPECT_FALSE(encoder.open((disk.root() / "odd.mp4").string(), 1023, kH, 60, 1, VideoQuality::Fast));
    EXPECT_FALSE(encoder.open((disk.root() / "rate.mp4").string(), kW, kH, 0, 1, VideoQuality::Fast));
    // A folder that is not there.
    EXPECT_FALSE(encoder.open((disk.root() / "no" / "out.mp4").string(), kW, kH, 60, 1, VideoQuality::Fast));
    EXPECT_NE(encoder.error().find("cannot write"), std::string::npos) << encoder.error();
    EXPECT_FALSE(encoder.addFrame(sourceFrame(0).data()));
    EXPECT_FALSE(encoder.finish());
    EXPECT_TRUE(std::filesystem::is_empty(disk.root() / "data"));

    // Given up half way (the encoder dropped without finishing): an earlier file of that name is
    // kept as it was and no partial file stays.
    const std::string kept = (disk.root() / "kept.webm").string();
    std::ofstream(kept) << "earlier video";
    {
        VideoEncoder dropped;
        ASSERT_TRUE(dropped.open(kept, kW, kH, 60, 1, VideoQuality::Fast)) << dropped.error();
        encode(dropped, 3, 60, 1);
        // The partial file is beside the old one, under a name of its own.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.root()), {}), 3);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.root()), {}), 2);
    std::ifstream in(kept);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "earlier video");
}

TEST(VideoEncoder, AFullDiskIsAnErrorAndTheFileIsRemoved) {
    // The file size limit stands in for a full disk: writes past it fail as they do there.
    test::TempDisk disk;
    const std::string path = (disk.root() / "full.mkv").string();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    VideoEncoder encoder;
    bool ok = encoder.open(path, kW, kH, 60, 1, VideoQuality::Fast);
    for (int f = 0; ok && f < 60; ++f) ok = encoder.addFrame(sourceFrame(f).data());
    if (ok) ok = encoder.finish();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_FALSE(ok);
    EXPECT_NE(encoder.error().find("cannot write"), std::string::npos) << encoder.error();
    encoder.finish();
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
}

}  // namespace
}  // namespace qa::runner
