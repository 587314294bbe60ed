// A music folder of a module, an Ogg and an MP3 plays them one after the other in the runner's sound,
// each starting within a frame of the end of the one before, as the trace's track records say.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/audio/decoders/DecoderFactory.h"
#include "support/AudioFixtures.h"
#include "support/ModWriter.h"
#include "support/RunnerProcess.h"
#include "support/TempDisk.h"

namespace qa::test {
namespace {

constexpr int kRate = 44100;
constexpr double kFrameMs = 16.0;

// The tone's frequency over each 10 ms window of the mix (0 for silence).
std::vector<double> windowFrequencies(const std::vector<float>& stereo) {
    const std::size_t window = kRate / 100;
    std::vector<double> out;
    for (std::size_t start = 0; start + window <= stereo.size() / 2; start += window) {
        std::vector<float> part(stereo.begin() + static_cast<long>(start * 2),
                                stereo.begin() + static_cast<long>((start + window) * 2));
        out.push_back(rms(part, 0) < 0.01 ? 0.0 : toneFrequency(part, 0, kRate));
    }
    return out;
}

TEST(PlaylistAudio, TracksFollowEachOtherWithinAFrame) {
    TempDisk disk;
    disk.writeScene("<disk/>");
    const std::string music = (disk.root() / "data/Quorv Part").string();
    std::filesystem::create_directories(music);
    // a.mod: about 1.15 s of the module tone; b.ogg: 1.0 s at 1500 Hz; c.mp3: 0.8 s at 3000 Hz.
    ASSERT_TRUE(ModWriter::toneSong(1, 16, 6).writeTo(music + "/a.mod"));
    const std::string wavB = (disk.root() / "b.wav").string(), wavC = (disk.root() / "c.wav").string();
    ASSERT_TRUE(writeWav(wavB, sineFrames(1500, kRate, kRate, 2, 0.5f), kRate, 2));
    ASSERT_TRUE(writeWav(wavC, sineFrames(3000, kRate, kRate * 8 / 10, 2, 0.5f), kRate, 2));
    ASSERT_TRUE(encodeOgg(wavB, music + "/b.ogg"));
    ASSERT_TRUE(encodeMp3(wavC, music + "/c.mp3"));

    const std::string wav = (disk.root() / "mix.wav").string(), trace = (disk.root() / "t.jsonl").string();
    RunResult r = runRunner({disk.root().string(), "--frames", "250", "--audio", wav, "--trace", trace});
    ASSERT_EQ(r.exitCode, 0) << r.output;

    // The trace: a at start-up, then b, c and a again, each when the one before has ended.
    std::vector<std::string> tracks = grep(readLines(trace), {"\"type\":\"track\""});
    ASSERT_GE(tracks.size(), 4u);
    EXPECT_NE(tracks[0].find("{\"frame\":0,"), std::string::npos);
    EXPECT_NE(tracks[0].find("a.mod"), std::string::npos);
    EXPECT_NE(tracks[1].find("b.ogg"), std::string::npos);
    EXPECT_NE(tracks[2].find("c.mp3"), std::string::npos);
    EXPECT_NE(tracks[3].find("a.mod"), std::string::npos);
    auto frameOf = [](const std::string& line) { return std::stoi(line.substr(9)); };

    int error = 0;
    std::unique_ptr<platform::audio::Decoder> d = platform::audio::DecoderFactory::open(wav, error);
    ASSERT_NE(d, nullptr);
    std::vector<float> mix(d->length() * 2);
    mix.resize(d->readStereo(mix.data(), d->length()) * 2);
    std::vector<double> f = windowFrequencies(mix);

    // Where each tone starts and ends, in 10 ms windows.
    auto first = [&](double hz, std::size_t from) {
        for (std::size_t i = from; i < f.size(); ++i)
            if (std::abs(f[i] - hz) < hz * 0.05) return static_cast<long>(i);
        return -1L;
    };
    auto lastBefore = [&](std::size_t until) {
        for (std::size_t i = until; i-- > 0;)
            if (f[i] > 0) return static_cast<long>(i);
        return -1L;
    };
    const long bStart = first(1500, 0), cStart = first(3000, 0);
    ASSERT_GT(bStart, 0);
    ASSERT_GT(cStart, bStart);
    // The next track sounds no later than a frame (plus the window) after the last sound before it.
    EXPECT_LE((bStart - lastBefore(static_cast<std::size_t>(bStart))) * 10.0, kFrameMs + 20.0);
    EXPECT_LE((cStart - lastBefore(static_cast<std::size_t>(cStart))) * 10.0, kFrameMs + 20.0);
    // And it starts where the trace says it was started.
    EXPECT_NEAR(bStart * 10.0, frameOf(tracks[1]) * kFrameMs, kFrameMs + 10.0);
    EXPECT_NEAR(cStart * 10.0, frameOf(tracks[2]) * kFrameMs, kFrameMs + 10.0);
    // The Ogg track lasts its second.
    EXPECT_NEAR((cStart - bStart) * 10.0, 1000.0, kFrameMs + 20.0);
}

}  // namespace
}  // namespace qa::test
