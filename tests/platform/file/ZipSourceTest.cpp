// A disk kept in a zip archive: paths resolve inside it as they do in a disk folder, its files read
// and seek alike whether stored or compressed, sounds play from it exactly as from the folder, and
// archives that are damaged or whose names or sizes would take the reader outside it are refused.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zip.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/file/DiskSource.h"
#include "platform/file/Files.h"
#include "platform/file/FolderSource.h"
#include "platform/file/archive/ZipSource.h"
#include "support/AudioFixtures.h"
#include "support/ModWriter.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

namespace qa::platform::archive {
namespace {

using test::bytesOf;
using test::writeZip;

namespace fs = std::filesystem;

std::string readWhole(FileSource& files, const std::string& path) {
    std::unique_ptr<InputStream> in = files.open(path);
    std::string out;
    if (in) Files::readAll(*in, out);
    return out;
}

std::unique_ptr<ZipSource> load(const std::string& path) {
    std::string reason;
    std::unique_ptr<ZipSource> source = ZipSource::load(path, reason);
    EXPECT_NE(source, nullptr) << reason;
    return source;
}

TEST(ZipSource, PathsResolveInsideTheArchiveAsInADiskFolder) {
    test::TempDisk disk;
    writeZip("disk.qdisk", {{"data/Pics/Ball.PNG", "ball"},
                            {"data/pics/other.png", "other"},
                            {"data/Quorv Part/b.mod", "b"},
                            {"data/Quorv Part/A.ogg", "a"},
                            {"data/Quorv Part/sub/", ""},
                            {"data/QuorvArt.XQD", "<s/>"}});
    std::unique_ptr<ZipSource> zip = load("disk.qdisk");
    ASSERT_NE(zip, nullptr);
    // The same tree as a folder answers every path alike.
    file::FolderSource folder;
    disk.write("data/Pics/Ball.PNG", "ball");
    disk.write("data/pics/other.png", "other");
    disk.write("data/QuorvArt.XQD", "<s/>");
    for (const char* path :
         {".\\data\\Pics\\Ball.PNG", "data\\\\Pics//BALL.png", "DATA\\PICS\\ball.png",
          "data\\pics\\other.png", "data\\PICS\\other.png", "data\\.\\quorvart.xqd", "data\\nothing"}) {
        EXPECT_EQ(zip->exists(path), folder.exists(path)) << path;
        EXPECT_EQ(readWhole(*zip, path), readWhole(folder, path)) << path;
    }
    // Backslashes, doubled separators, "." and letter case as a disk writes them.
    for (const char* path : {".\\data\\Pics\\Ball.PNG", "data\\\\Pics//BALL.png", "DATA\\PICS\\ball.png",
                             "data\\..\\data\\Pics\\Ball.PNG"})
        EXPECT_EQ(readWhole(*zip, path), "ball") << path;
    // Two folders "Pics" and "pics": the one written so wins, else the first by bytes.
    EXPECT_EQ(readWhole(*zip, "data\\pics\\other.png"), "other");
    EXPECT_EQ(readWhole(*zip, "data\\PICS\\other.png"), "");
    EXPECT_TRUE(zip->exists("data\\quorvart.xqd"));
    EXPECT_FALSE(zip->exists("data\\none.png"));
    // Nothing outside the archive: absolute paths and ".." above its top name nothing, even when
    // the file exists beside the archive.
    const std::string outside = (fs::current_path() / "disk.qdisk").string();
    for (const std::string& path :
         {std::string("..\\data\\QuorvArt.XQD"), std::string("data\\..\\..\\disk.qdisk"),
          std::string("\\data\\QuorvArt.XQD"), outside, std::string("C:\\data\\QuorvArt.XQD")}) {
        EXPECT_FALSE(zip->exists(path)) << path;
        EXPECT_EQ(zip->open(path), nullptr) << path;
    }
    // A folder is not a file.
    EXPECT_TRUE(zip->exists("data\\Quorv Part\\sub"));
    EXPECT_EQ(zip->open("data\\Quorv Part\\sub"), nullptr);

    std::vector<FileEntry> list;
    ASSERT_TRUE(zip->list(".\\data\\quorv part\\*.*", list));
    std::vector<std::pair<std::string, bool>> names;
    for (const FileEntry& e : list) names.emplace_back(e.name, e.directory);
    EXPECT_EQ(names, (std::vector<std::pair<std::string, bool>>{
                         {".", true}, {"..", true}, {"A.ogg", false}, {"b.mod", false}, {"sub", true}}));
    EXPECT_FALSE(zip->list(".\\data\\QuorvArt.XQD\\*.*", list));
    EXPECT_FALSE(zip->list(".\\nothing\\*.*", list));
}

TEST(ZipSource, StoredAndCompressedFilesReadAndSeekAlike) {
    test::TempDisk disk;
    std::string text;
    for (int i = 0; i < 50000; ++i) text += static_cast<char>('a' + (i * 7 + i / 13) % 26);
    for (bool store : {true, false}) {
        writeZip("disk.qdisk", {{"t.txt", text}}, store);
        std::unique_ptr<ZipSource> zip = load("disk.qdisk");
        ASSERT_NE(zip, nullptr);
        std::unique_ptr<InputStream> in = zip->open("T.TXT");
        ASSERT_NE(in, nullptr);
        EXPECT_EQ(in->size(), static_cast<std::int64_t>(text.size()));
        char buf[10];
        EXPECT_EQ(in->seek(-10, SEEK_END), 49990);
        EXPECT_EQ(in->read(buf, sizeof buf), 10u);
        EXPECT_EQ(std::string(buf, 10), text.substr(49990, 10)) << store;
        EXPECT_EQ(in->read(buf, sizeof buf), 0u);  // at the end, not an error
        EXPECT_FALSE(in->failed());
        EXPECT_EQ(in->seek(123, SEEK_SET), 123);  // back again
        EXPECT_EQ(in->read(buf, 5), 5u);
        EXPECT_EQ(std::string(buf, 5), text.substr(123, 5)) << store;
        EXPECT_EQ(in->seek(1000, SEEK_CUR), 1128);
        EXPECT_EQ(in->read(buf, 1), 1u);
        EXPECT_EQ(buf[0], text[1128]);
        EXPECT_EQ(in->seek(-1, SEEK_SET), -1);
        EXPECT_EQ(in->seek(1, SEEK_END), -1);
        EXPECT_EQ(in->tell(), 1129);
        EXPECT_EQ(readWhole(*zip, "t.txt"), text);
    }
}

TEST(ZipSource, SoundsPlayFromTheArchiveAsFromTheFolder) {
    test::TempDisk disk;
    constexpr int kRate = 44100;
    ASSERT_TRUE(test::writeWav("tone.wav", test::sineFrames(440.0, kRate, 20000, 2, 0.5f), kRate, 2));
    ASSERT_TRUE(test::encodeOgg("tone.wav", "tone.ogg"));
    ASSERT_TRUE(test::encodeMp3("tone.wav", "tone.mp3"));
    ASSERT_TRUE(test::ModWriter::toneSong(1, 8, 3).writeTo("tone.mod"));
    const std::vector<std::string> names{"tone.wav", "tone.ogg", "tone.mp3", "tone.mod"};
    for (bool store : {true, false}) {
        std::vector<std::pair<std::string, std::string>> files;
        for (const std::string& n : names) files.emplace_back("music/" + n, bytesOf(n));
        writeZip("disk.qdisk", files, store);
        std::string reason;
        std::shared_ptr<FileSource> zip = ZipSource::load("disk.qdisk", reason);
        ASSERT_NE(zip, nullptr) << reason;

        // The same mix, sound by sound, from the folder and from the archive.
        std::map<std::string, std::vector<float>> heard[2];
        for (int from = 0; from < 2; ++from) {
            audio::SoftwareSoundLibrary library(
                std::make_unique<audio::OutputFactory>(audio::OutputKind::Pull),
                from == 0 ? std::make_shared<file::FolderSource>() : zip);
            ASSERT_TRUE(library.FSOUND_Init(kRate, 32, 0));
            for (const std::string& n : names) {
                const std::string path = (from == 0 ? "" : "MUSIC\\") + n;
                if (n == "tone.mod") {
                    audio::ModuleHandle m = library.FMUSIC_LoadSong(path.c_str());
                    ASSERT_NE(m, nullptr) << path;
                    library.FMUSIC_PlaySong(m);
                } else {
                    audio::StreamHandle s =
                        library.FSOUND_Stream_OpenFile(path.c_str(), audio::kModeLoopOff, 0);
                    ASSERT_NE(s, nullptr) << path;
                    library.FSOUND_Stream_Play(audio::kAnyChannel, s);
                }
                std::vector<float>& out = heard[from][n];
                out.resize(2 * 22050);
                library.pull(out.data(), 22050);
                library.FSOUND_StopSound(0);
                library.FMUSIC_StopSong(nullptr);
            }
        }
        for (const std::string& n : names) {
            EXPECT_GT(test::peak(heard[1][n], 0), 0.1) << n;
            EXPECT_TRUE(heard[0][n] == heard[1][n]) << n << (store ? " stored" : " compressed");
        }
    }
}

// Patches the uncompressed size of the only entry, in its local and its central header.
std::string declaringSize(std::string zip, std::uint32_t size) {
    auto patch = [&](const char* signature, std::size_t at) {
        const std::size_t header = zip.find(signature);
        ASSERT_NE(header, std::string::npos);
        for (int k = 0; k < 4; ++k) zip[header + at + k] = static_cast<char>(size >> (8 * k));
    };
    patch("PK\x03\x04", 22);
    patch("PK\x01\x02", 24);
    return zip;
}

TEST(ZipSource, HostileAndDamagedArchivesAreRefusedWithAReason) {
    test::TempDisk disk;
    struct Case {
        std::string name;
        std::string reason;
    };
    for (const Case& c :
         {Case{"../evil.txt", "leaves the archive"}, Case{"data/../../evil.txt", "leaves the archive"},
          Case{"..\\evil.txt", "leaves the archive"}, Case{"/etc/evil.txt", "absolute"},
          Case{"C:\\evil.txt", "absolute"}}) {
        writeZip("bad.qdisk", {{"data/QuorvArt.XQD", "<s/>"}, {c.name, "x"}});
        std::string reason;
        EXPECT_EQ(ZipSource::load("bad.qdisk", reason), nullptr) << c.name;
        EXPECT_NE(reason.find(c.reason), std::string::npos) << c.name << ": " << reason;
    }

    // A file that declares several gigabytes (compressed or not) is refused before anything is read.
    for (bool store : {true, false}) {
        writeZip("good.qdisk", {{"big.wav", std::string(1000, 'x')}}, store);
        std::ofstream("big.qdisk", std::ios::binary) << declaringSize(bytesOf("good.qdisk"), 0xFFFFFF00u);
        std::string reason;
        EXPECT_EQ(ZipSource::load("big.qdisk", reason), nullptr);
        EXPECT_NE(reason.find("more than allowed"), std::string::npos) << reason;
    }

    // Cut short anywhere, empty, not an archive, a folder or a pipe: refused, without waiting.
    writeZip("good.qdisk", {{"data/QuorvArt.XQD", std::string(5000, 's')}});
    const std::string whole = bytesOf("good.qdisk");
    for (std::size_t cut : {std::size_t{0}, std::size_t{10}, whole.size() / 2, whole.size() - 1}) {
        std::ofstream("cut.qdisk", std::ios::binary) << whole.substr(0, cut);
        std::string reason;
        EXPECT_EQ(ZipSource::load("cut.qdisk", reason), nullptr) << cut;
        EXPECT_FALSE(reason.empty());
    }
    std::ofstream("text.qdisk") << "this is not an archive";
    fs::create_directory("folder.qdisk");
    ASSERT_EQ(::mkfifo("pipe.qdisk", 0644), 0);
    for (const char* name : {"text.qdisk", "folder.qdisk", "pipe.qdisk", "missing.qdisk"}) {
        std::string reason;
        EXPECT_EQ(ZipSource::load(name, reason), nullptr) << name;
        EXPECT_FALSE(reason.empty()) << name;
    }
}

TEST(ZipSource, DamagedDataReadsAsAFailureNotAsMoreData) {
    test::TempDisk disk;
    std::string text(20000, 'q');
    for (std::size_t i = 0; i < text.size(); i += 7) text[i] = static_cast<char>('a' + i % 26);
    writeZip("good.qdisk", {{"t.txt", text}});
    std::string bytes = bytesOf("good.qdisk");
    // Flip bytes inside the compressed data (after the 30-byte local header and the name).
    for (std::size_t i = 40; i < 60; ++i) bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    std::ofstream("bad.qdisk", std::ios::binary) << bytes;
    std::unique_ptr<ZipSource> zip = load("bad.qdisk");
    ASSERT_NE(zip, nullptr);  // the directory is whole
    std::unique_ptr<InputStream> in = zip->open("t.txt");
    std::string out;
    if (in) Files::readAll(*in, out);
    EXPECT_LE(out.size(), text.size());
    EXPECT_NE(out, text);
    if (in) {
        EXPECT_TRUE(in->failed());
    }
}

TEST(ZipSource, AStoredFileWhoseBytesDoNotMatchItsChecksumFailsAtItsEnd) {
    test::TempDisk disk;
    const std::string text(3000, 'k');
    writeZip("good.qdisk", {{"t.txt", text}}, true);
    std::string bytes = bytesOf("good.qdisk");
    bytes[30 + 5 + 100] = 'j';  // inside the stored data, after the local header and the name
    std::ofstream("bad.qdisk", std::ios::binary) << bytes;
    std::unique_ptr<ZipSource> zip = load("bad.qdisk");
    ASSERT_NE(zip, nullptr);
    std::unique_ptr<InputStream> in = zip->open("t.txt");
    ASSERT_NE(in, nullptr);
    std::string out;
    Files::readAll(*in, out);
    EXPECT_TRUE(in->failed());
    // The whole, undamaged file reads to its end without failing.
    std::unique_ptr<ZipSource> whole = load("good.qdisk");
    ASSERT_NE(whole, nullptr);
    in = whole->open("t.txt");
    ASSERT_NE(in, nullptr);
    Files::readAll(*in, out);
    EXPECT_EQ(out, text);
    EXPECT_FALSE(in->failed());
}

TEST(ZipSource, NamesInAFolderOfTwentyThousandAreFoundThroughTheIndex) {
    test::TempDisk disk;
    std::vector<std::pair<std::string, std::string>> files;
    char name[32];
    for (int i = 0; i < 20000; ++i) {
        std::snprintf(name, sizeof name, "data/Quorv Part/t%05d.mod", i);
        files.emplace_back(name, std::to_string(i));
    }
    const std::string path = (disk.root() / "many.qdisk").string();
    writeZip(path, files);
    const std::clock_t start = std::clock();
    std::unique_ptr<ZipSource> source = load(path);
    ASSERT_NE(source, nullptr);
    std::vector<FileEntry> entries;
    ASSERT_TRUE(source->list(".\\data\\Quorv Part\\*.*", entries));
    EXPECT_EQ(entries.size(), 20002u);
    // Every name as written and in other letter case, as a scan of the music folder opens them.
    for (int i = 0; i < 20000; i += 1) {
        std::snprintf(name, sizeof name, "data\\QUORV PART\\T%05d.MOD", i);
        ASSERT_EQ(readWhole(*source, name), std::to_string(i)) << name;
    }
    // Comparing each name against every other, as a folder without an index does, takes minutes.
    EXPECT_LT(static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, 5.0);
}

TEST(ZipSource, ASeekDecodesNothingUntilTheNextRead) {
    test::TempDisk disk;
    // 60 MiB that packs into some 60 KB: under the bomb size, and slow to unpack whole.
    std::string big(60u << 20, '\0');
    big.replace(big.size() - 4, 4, "tail");
    const std::string path = (disk.root() / "big.qdisk").string();
    writeZip(path, {{"data/QuorvArt.XQD", "<s/>"}, {"data/big.mod", big}});
    big.clear();
    std::unique_ptr<ZipSource> source = load(path);
    ASSERT_NE(source, nullptr);
    // What a scan does to learn a file's size, twenty times over: each would unpack 60 MiB if a seek
    // decoded up to where it goes.
    const std::clock_t start = std::clock();
    for (int i = 0; i < 20; ++i) {
        std::unique_ptr<InputStream> in = source->open("data\\big.mod");
        ASSERT_NE(in, nullptr);
        ASSERT_EQ(in->seek(0, SEEK_END), 60 << 20);
        EXPECT_EQ(in->tell(), 60 << 20);
        ASSERT_EQ(in->seek(0, SEEK_SET), 0);
    }
    EXPECT_LT(static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, 0.3);
    // A read after the seeks gets there, and back again.
    std::unique_ptr<InputStream> in = source->open("data\\big.mod");
    char end[4] = {};
    ASSERT_EQ(in->seek(-4, SEEK_END), (60 << 20) - 4);
    ASSERT_EQ(in->read(end, 4), 4u);
    EXPECT_EQ(std::string(end, 4), "tail");
    EXPECT_FALSE(in->failed());
    ASSERT_EQ(in->seek(-8, SEEK_CUR), (60 << 20) - 8);
    ASSERT_EQ(in->read(end, 4), 4u);
    EXPECT_EQ(std::string(end, 4), std::string(4, '\0'));
}

// A copy of the bytes in memory from malloc, as an archive held in memory is handed over.
void* mallocCopy(const std::string& bytes) {
    void* at = std::malloc(std::max<std::size_t>(bytes.size(), 1));
    if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
    return at;
}

TEST(ZipSource, AnArchiveInMemoryReadsAsItsFileAndKeepsItsBytesWhileStreamsLast) {
    test::TempDisk disk;
    std::string text;
    for (int i = 0; i < 50000; ++i) text += static_cast<char>('a' + (i * 7 + i / 13) % 26);
    for (bool store : {true, false}) {
        writeZip("disk.qdisk", {{"data/QuorvArt.XQD", "<s/>"}, {"data/Pics/T.txt", text}}, store);
        const std::string bytes = bytesOf("disk.qdisk");
        std::string error;
        std::shared_ptr<FileSource> memory =
            file::openDiskInMemory(mallocCopy(bytes), bytes.size(), "disk.qdisk", error);
        ASSERT_NE(memory, nullptr) << error;
        std::unique_ptr<ZipSource> file = load("disk.qdisk");
        for (const char* path : {"data\\pics\\t.txt", "DATA\\QuorvArt.xqd", "data\\none"}) {
            EXPECT_EQ(memory->exists(path), file->exists(path)) << path;
            EXPECT_EQ(readWhole(*memory, path), readWhole(*file, path)) << path;
        }
        // A stream outlives its source: the bytes go only with the last user (the sanitizer build
        // sees a read of freed memory otherwise).
        std::unique_ptr<InputStream> in = memory->open("data\\Pics\\t.txt");
        ASSERT_NE(in, nullptr);
        memory.reset();
        char buf[5];
        EXPECT_EQ(in->seek(40000, SEEK_SET), 40000);
        EXPECT_EQ(in->read(buf, 5), 5u);
        EXPECT_EQ(std::string(buf, 5), text.substr(40000, 5)) << store;
    }

    // Damaged, empty or without a data folder: refused with the disk's name and a reason (the bytes
    // are freed all the same, which the sanitizer build's leak check sees).
    writeZip("good.qdisk", {{"data/QuorvArt.XQD", std::string(5000, 's')}});
    writeZip("nodata.qdisk", {{"disk/data/QuorvArt.XQD", "<s/>"}});
    const std::string whole = bytesOf("good.qdisk");
    for (const std::string& bytes : {whole.substr(0, whole.size() / 2), std::string(),
                                     std::string("not a zip"), bytesOf("nodata.qdisk")}) {
        std::string error;
        EXPECT_EQ(file::openDiskInMemory(mallocCopy(bytes), bytes.size(), "d.qdisk", error), nullptr);
        EXPECT_EQ(error.rfind("the disk d.qdisk cannot be opened: ", 0), 0u) << error;
    }
}

}  // namespace
}  // namespace qa::platform::archive
