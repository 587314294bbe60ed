// The pictures scene run by quorvart-run: its screenshot of frame 2 matches the one committed
// beside the scene (pictures, placement, scaling, mirroring, offsets, both kinds of text, cursor).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "runner/PngWriter.h"
#include "support/RunnerProcess.h"

namespace qa::scene {
namespace {

namespace fs = std::filesystem;
using runner::PngWriter;

bool close(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > tolerance) return false;
    }
    return true;
}

TEST(SceneScreenshot, PicturesSceneLooksAsCommitted) {
    const fs::path scene = fs::path(QA_TEST_SCENES) / "pictures";
    const std::string shot = test::tempPath(".png");
    const test::RunResult run = test::runRunner(
        {scene.string(), "--frames", "3", "--input", (scene / "input.txt").string(), "--shot", "2:" + shot});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    std::vector<std::uint32_t> got, want;
    int gw = 0, gh = 0, ww = 0, wh = 0;
    ASSERT_TRUE(PngWriter::read(shot, got, gw, gh));
    ASSERT_TRUE(PngWriter::read((scene / "expected-frame2.png").string(), want, ww, wh));
    fs::remove(shot);
    ASSERT_EQ(gw, 1024);
    ASSERT_EQ(gh, 768);
    ASSERT_EQ(ww, gw);
    ASSERT_EQ(wh, gh);
    // The system font's rendering may shift with the font library: its box is judged loosely.
    auto inTextBox = [](int x, int y) { return x >= 585 && x < 1015 && y >= 485 && y < 560; };
    long off = 0, offInText = 0, textPixels = 0;
    for (int y = 0; y < gh; ++y) {
        for (int x = 0; x < gw; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * gw + x;
            const bool same = close(got[i], want[i], 3);
            if (inTextBox(x, y)) {
                ++textPixels;
                offInText += !same;
            } else {
                off += !same;
            }
        }
    }
    EXPECT_LE(off, 200) << "pixels outside the system-font text that differ";
    EXPECT_LE(offInText, textPixels / 10);
}

}  // namespace
}  // namespace qa::scene
