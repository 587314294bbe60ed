// Picture files in every format the loader must read, as ARGB with their format codes.
#include <gtest/gtest.h>

#include "platform/file/FolderSource.h"
#include "platform/gfx/PictureFile.h"
#include "platform/gfx/Texture.h"
#include "platform/gfx/null/NullDevice.h"
#include "support/PictureMaker.h"
#include "support/TempDisk.h"

namespace qa::platform::gfx {
namespace {

using test::PictureMaker;

PictureMaker sample() {
    PictureMaker p(6, 3, 0xFF102030u);
    p.set(0, 0, 0xFFFF0000u);
    p.set(1, 0, 0xFF00FF00u);
    p.set(2, 0, 0xFF0000FFu);
    p.set(5, 2, 0x00000000u);  // transparent
    p.set(4, 2, 0x80FFFFFFu);  // half transparent
    return p;
}

TEST(PictureFile, PngWithAlphaComesAsArgbInItsOwnFormatCode) {
    test::TempDisk disk;
    ASSERT_TRUE(sample().savePng("data/a.png"));
    std::vector<std::uint32_t> argb;
    ImageInfo info;
    ASSERT_TRUE(PictureFile::decode(".\\data\\A.PNG", argb, info));  // Windows spelling of the path
    EXPECT_EQ(info.width, 6u);
    EXPECT_EQ(info.height, 3u);
    EXPECT_EQ(info.format, std::uint32_t{kFormatA8R8G8B8});
    EXPECT_EQ(info.imageFileFormat, PictureFile::kFilePng);
    EXPECT_EQ(argb[0], 0xFFFF0000u);
    EXPECT_EQ(argb[1], 0xFF00FF00u);
    EXPECT_EQ(argb[2], 0xFF0000FFu);
    EXPECT_EQ(argb[3], 0xFF102030u);
    EXPECT_EQ(argb[2 * 6 + 4], 0x80FFFFFFu);
    EXPECT_EQ(argb[2 * 6 + 5] >> 24, 0u);
}

TEST(PictureFile, OtherFormatsDecode) {
    test::TempDisk disk;
    const PictureMaker p = sample();
    ASSERT_TRUE(p.saveBmp("b.bmp"));
    ASSERT_TRUE(p.saveJpg("j.jpg"));
    ASSERT_TRUE(p.saveTga("t.tga"));
    ASSERT_TRUE(p.saveGif("g.gif"));
    std::vector<std::uint32_t> argb;
    ImageInfo info;

    ASSERT_TRUE(PictureFile::decode("b.bmp", argb, info));
    EXPECT_EQ(info.format, std::uint32_t{kFormatX8R8G8B8});  // no alpha: opaque everywhere
    EXPECT_EQ(argb[0], 0xFFFF0000u);
    EXPECT_EQ(argb[2 * 6 + 5], 0xFF000000u);

    ASSERT_TRUE(PictureFile::decode("t.tga", argb, info));
    EXPECT_EQ(info.format, std::uint32_t{kFormatA8R8G8B8});
    EXPECT_EQ(info.imageFileFormat, PictureFile::kFileTga);
    EXPECT_EQ(argb[1], 0xFF00FF00u);
    EXPECT_EQ(argb[2 * 6 + 4], 0x80FFFFFFu);

    ASSERT_TRUE(PictureFile::decode("g.gif", argb, info));
    EXPECT_EQ(info.format, std::uint32_t{kFormatA8R8G8B8});  // its transparent colour is alpha
    EXPECT_EQ(argb[2], 0xFF0000FFu);
    EXPECT_EQ(argb[2 * 6 + 5] >> 24, 0u);

    ASSERT_TRUE(PictureFile::decode("j.jpg", argb, info));
    EXPECT_EQ(info.imageFileFormat, PictureFile::kFileJpg);
    EXPECT_EQ(info.width, 6u);
    EXPECT_EQ(argb[3] >> 24, 0xFFu);

    disk.write("bad.png", "\x89PNG not really");
    EXPECT_FALSE(PictureFile::decode("bad.png", argb, info));
    EXPECT_FALSE(PictureFile::decode("missing.png", argb, info));
    disk.write("empty.png", "");
    EXPECT_FALSE(PictureFile::decode("empty.png", argb, info));
}

TEST(PictureFile, TheNullDeviceStillDecodesPictures) {
    test::TempDisk disk;
    ASSERT_TRUE(sample().savePng("a.png"));
    NullDevice device;
    ImageInfo info;
    platform::file::FolderSource folder;
    std::shared_ptr<Texture> t = device.createTextureFromFile(folder, "a.png", info);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->width(), 6);
    EXPECT_EQ(info.height, 3u);
    LockedRect locked;
    ASSERT_TRUE(t->lockRect(locked));
    EXPECT_EQ(locked.pitch, 24);
    EXPECT_EQ(locked.bits[3], 0xFF);  // alpha byte of the first pixel
    EXPECT_EQ(locked.bits[2], 0xFF);  // red
    EXPECT_EQ(t.use_count(), 1);      // the caller's alone
    EXPECT_EQ(device.createTextureFromFile(folder, "none.png", info), nullptr);
}

}  // namespace
}  // namespace qa::platform::gfx
