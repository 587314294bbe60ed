// The decoder factory opens a sound file once, and every decoder it tries reads it from its start.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/audio/SoundLibrary.h"
#include "platform/audio/decoders/DecoderFactory.h"
#include "platform/file/FolderSource.h"
#include "support/AudioFixtures.h"
#include "support/TempDisk.h"

namespace qa::platform::audio {
namespace {

// A folder whose opened files are counted.
class CountingSource : public file::FolderSource {
  public:
    using FolderSource::FolderSource;
    std::unique_ptr<InputStream> open(const std::string& windowsPath) override {
        ++opens;
        return FolderSource::open(windowsPath);
    }
    int opens = 0;
};

std::string bytesOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DecoderFactory, OpensTheFileOnceAndEachDecoderTriedReadsItFromItsStart) {
    test::TempDisk disk;
    const std::string music = std::string(QA_SOURCE_DIR) + "/demo/data/Quorv Part/";
    const std::string mp3 = bytesOfFile(music + "04 Pluck Parade.mp3");
    ASSERT_FALSE(mp3.empty());
    disk.write("plain.mp3", mp3);
    // No signature at the start: the Ogg decoder is tried first and reads into the file before the
    // MPEG decoder gets it, which then finds the same audio as in the plain file.
    disk.write("late.mp3", std::string(1000, '\0') + mp3);
    disk.write("tide.ogg", bytesOfFile(music + "03 Ambient Tide.ogg"));
    disk.write("noise.bin", std::string(4000, 'x'));
    ASSERT_TRUE(test::writeWav((disk.root() / "tone.wav").string(),
                               test::sineFrames(440, 22050, 1000, 1, 0.5f), 22050, 1));

    struct Case {
        const char* name;
        bool decodes;
    };
    std::uint64_t plainLength = 0;
    for (const Case& c : {Case{"plain.mp3", true}, Case{"late.mp3", true}, Case{"tide.ogg", true},
                          Case{"tone.wav", true}, Case{"noise.bin", false}}) {
        CountingSource files(disk.root());
        int error = 0;
        std::unique_ptr<Decoder> d = DecoderFactory::open(files, c.name, error);
        EXPECT_EQ(files.opens, 1) << c.name;
        ASSERT_EQ(d != nullptr, c.decodes) << c.name;
        if (!d) {
            EXPECT_EQ(error, kErrFileFormat) << c.name;
            continue;
        }
        EXPECT_GT(d->length(), 0u) << c.name;
        const std::string name = c.name;
        if (name == "plain.mp3") plainLength = d->length();
        if (name == "late.mp3") {
            EXPECT_EQ(d->length(), plainLength);
        }
        if (name == "tone.wav") {
            EXPECT_EQ(d->length(), 1000u);
        }
        // The decoder that took the file keeps it readable after the factory is done.
        std::vector<float> out(256 * 2);
        EXPECT_GT(d->readStereo(out.data(), 256), 0u) << c.name;
    }
}

}  // namespace
}  // namespace qa::platform::audio
