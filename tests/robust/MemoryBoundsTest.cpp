// Disks that are small on disk but costly to play: one large picture or sound under many
// spellings, many text items over a file of line ends, a thousand timers of a microsecond, a scene document
// too large for the memory left. Each is played by the runner under an address-space limit and a time limit,
// and must end normally (or, for the document, as a scene that does not load), never abort.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "runner/PngWriter.h"
#include "support/PictureMaker.h"
#include "support/RunnerProcess.h"
#include "support/TempDisk.h"

#if defined(__SANITIZE_ADDRESS__)
#define QA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QA_ADDRESS_SANITIZER 1
#endif
#endif

namespace qa {
namespace {

using test::PictureMaker;
using test::TempDisk;

// What the runner may map, in KiB: its own needs (libraries, the software device, thread stacks)
// with room for the tests' content, well below what the disks cost when they are not bounded.
constexpr long kAddressSpaceKiB = 1600L * 1024;

bool limitsApply() {
#ifdef QA_ADDRESS_SANITIZER
    return false;  // the sanitizer's shadow memory takes far more address space than any limit
#else
    return true;
#endif
}

test::RunResult play(const TempDisk& disk, const std::string& trace = {}, int frames = 3) {
    std::vector<std::string> args{
        disk.root().string(),         "--frames", std::to_string(frames), "--sound", "off", "--shot",
        "1:" + test::tempPath(".png")};
    if (!trace.empty()) args.insert(args.end(), {"--trace", trace});
    return test::runRunner(args, 120, kAddressSpaceKiB);
}

TEST(MemoryBounds, OnePictureUnderManySpellingsIsDecodedOnce) {
    if (!limitsApply()) GTEST_SKIP() << "address-space limits do not apply under the sanitizer";
    TempDisk disk;
    // 4096 x 4096 pixels: 64 MiB decoded, a few hundred bytes packed. Sixty items show it, each
    // scaled to 16 x 16 pixels at its own place along the top of the screen.
    const std::uint32_t colour = 0xFF204080u;
    ASSERT_TRUE(PictureMaker(4096, 4096, colour).savePng((disk.root() / "data" / "big.png").string()));
    const char* const spellings[] = {"data\\big.png", "./data\\big.png", "././data/big.png",
                                     "data//big.png", "DATA/Big.PNG",    ".\\data\\.\\big.png"};
    std::string scene = "<scene>\n";
    int count = 0;
    std::string prefix;
    for (int repeat = 0; repeat < 10; ++repeat, prefix += "./") {
        for (const char* s : spellings) {
            scene += "<item image=\"" + prefix + s + "\" x=\"" + std::to_string(16 * count++) +
                     "\" cx=\"0\" cy=\"0\" sx=\"0.00390625\" sy=\"0.00390625\"/>\n";
        }
    }
    disk.writeScene(scene + "</scene>\n");
    const std::string shot = test::tempPath(".png");
    const test::RunResult run =
        test::runRunner({disk.root().string(), "--frames", "2", "--sound", "off", "--shot", "1:" + shot}, 120,
                        kAddressSpaceKiB);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(runner::PngWriter::read(shot, pixels, w, h));
    std::filesystem::remove(shot);
    ASSERT_EQ(w, 1024);
    for (int k = 0; k < count; ++k)
        EXPECT_EQ(pixels[static_cast<std::size_t>(8 * w + 16 * k + 8)], colour) << "item " << k;
}

TEST(MemoryBounds, OneSoundUnderManySpellingsIsDecodedOnce) {
    if (!limitsApply()) GTEST_SKIP() << "address-space limits do not apply under the sanitizer";
    TempDisk disk;
    // 8-bit mono, 13 million frames: 13 MB on disk, 100 MiB decoded (two floats a frame). Sixteen
    // spellings of it decoded one each would pass both the budget and the address-space limit.
    const std::uint32_t frames = 100u << 17;
    std::string wav;
    auto le = [&wav](std::uint32_t v, int bytes) {
        for (int b = 0; b < bytes; ++b) wav += static_cast<char>((v >> (8 * b)) & 0xFF);
    };
    wav += "RIFF", le(36 + frames, 4), wav += "WAVEfmt ";
    le(16, 4), le(1, 2), le(1, 2), le(44100, 4), le(44100, 4), le(1, 2), le(8, 2);
    wav += "data", le(frames, 4);
    wav.reserve(wav.size() + frames);
    for (std::uint32_t k = 0; k < frames; ++k) wav += static_cast<char>(k / 50 % 2 ? 0xC0 : 0x40);
    disk.write("data/s.wav", wav);
    wav.clear();
    wav.shrink_to_fit();
    // The first PlaySfx of a name loads it, the second plays it.
    std::string plays, prefix;
    for (int repeat = 0; repeat < 8; ++repeat, prefix += "./")
        for (const char* s : {"data\\s.wav", "DATA/S.WAV"}) plays += "PlaySfx " + prefix + s + ";";
    disk.writeScene("<scene><item name=\"s\" onLoad=\"" + plays + plays + "\"/></scene>\n");
    const std::string audio = test::tempPath(".wav");
    const test::RunResult run =
        test::runRunner({disk.root().string(), "--frames", "6", "--audio", audio}, 120, kAddressSpaceKiB);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.find("not loaded"), std::string::npos) << run.output;
    std::ifstream in(audio, std::ios::binary);
    const std::string heard{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::remove(audio);
    EXPECT_NE(heard.find_first_not_of('\0', 44), std::string::npos) << "the sounds were not heard";
}

TEST(MemoryBounds, TextItemsOverLineEndsCostInProportionToTheText) {
    if (!limitsApply()) GTEST_SKIP() << "address-space limits do not apply under the sanitizer";
    TempDisk disk;
    ASSERT_TRUE(PictureMaker::fontSheet(8, 8, [](int) {
                    return 6;
                }).savePng((disk.root() / "data" / "font.png").string()));
    disk.write("data/ends.txt", std::string(8u << 20, '\n'));
    std::string scene = "<scene>\n";
    for (int k = 0; k < 12; ++k)
        scene += "<item font=\"data\\font.png\" image=\"data\\ends.txt\" w=\"8\" h=\"700\"/>\n";
    disk.writeScene(scene + "</scene>\n");
    const test::RunResult run = play(disk);
    EXPECT_EQ(run.exitCode, 0) << run.output;
}

TEST(MemoryBounds, AThousandTimersOfAMicrosecondTickABoundedNumberOfTimesPerFrame) {
    TempDisk disk;
    // Each tick runs twenty statements.
    std::string tick = "Hide clock";
    for (int k = 1; k < 20; ++k) tick += "|Hide clock";
    std::string onLoad;
    for (int k = 0; k < 1000; ++k)
        onLoad +=
            (k ? ";" : "") + std::string("SetTimer t") + std::to_string(k) + " 0.000001 2147483647 " + tick;
    disk.writeScene("<scene><item name=\"clock\" onLoad=\"" + onLoad + "\"/></scene>\n");
    const std::string trace = test::tempPath(".jsonl");
    const test::RunResult run =
        test::runRunner({disk.root().string(), "--frames", "5", "--sound", "off", "--trace", trace}, 60);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    const std::vector<std::string> lines = test::readLines(trace);
    std::filesystem::remove(trace);
    // Five frames of at most 10,000 statements (and the rest of the tick that crosses it);
    // unbounded they were 10,000 ticks for each timer, of twenty statements each.
    const auto ticks = test::grep(lines, {"\"tick\""}).size();
    const auto statements = test::grep(lines, {"\"Hide\""}).size();
    EXPECT_GT(ticks, 1000u);
    EXPECT_EQ(statements, 20 * ticks);
    EXPECT_LE(statements, 5u * (10000u + 20u));
}

TEST(MemoryBounds, ASceneDocumentThatCannotBeHeldIsASceneThatDoesNotLoad) {
    if (!limitsApply()) GTEST_SKIP() << "address-space limits do not apply under the sanitizer";
    TempDisk disk;
    // About 120 MB of attributes: read, decoded and built into a tree, more than the limit allows.
    const std::string value(1000, 'x');
    std::string scene = "<scene>\n";
    scene.reserve(130u << 20);
    for (int k = 0; k < 120000; ++k) scene += "<item name=\"" + value + "\"/>\n";
    disk.writeScene(scene + "</scene>\n");
    const test::RunResult run =
        test::runRunner({disk.root().string(), "--frames", "2", "--sound", "off"}, 120, 400L * 1024);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("out of memory"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("D3D init failed"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace qa
