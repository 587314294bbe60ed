// Only regular files are read: a named pipe, a device, a folder or a link to one of them named like
// a file is a file that cannot be opened, and opening it never waits. Each reader of the platform
// (whole files, files read in blocks, pictures, sounds) refuses them the same way.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform/audio/SoundError.h"
#include "platform/audio/decoders/DecoderFactory.h"
#include "platform/file/Files.h"
#include "platform/gfx/PictureFile.h"
#include "support/TempDisk.h"

namespace qa::platform {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Should a reader block on a named pipe, the guard opens the pipe's other end after a while and
// closes it again, so that the reader sees an empty file and the test fails instead of hanging.
class PipeGuard {
  public:
    explicit PipeGuard(fs::path pipe) : pipe_(std::move(pipe)), thread_([this] { watch(); }) {}
    ~PipeGuard() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    bool fired() const { return fired_; }

  private:
    void watch() {
        std::unique_lock lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::seconds(3), [this] { return done_; })) {
            // Opening for writing without blocking succeeds only while someone has it open to read.
            const int fd = ::open(pipe_.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                fired_ = true;
                ::close(fd);
            }
        }
    }

    fs::path pipe_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

class NotAFileNamed : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories("data");
        ASSERT_EQ(::mkfifo("data/pipe.png", 0644), 0);
        fs::create_directory("data/folder.png");
        fs::create_symlink(fs::absolute("data/pipe.png"), "data/link.png");
    }
    test::TempDisk disk;
    PipeGuard guard{"data/pipe.png"};
};

TEST_F(NotAFileNamed, PipesFoldersDevicesAndLinksToThemAreNotOpened) {
    const Clock::time_point start = Clock::now();
    // Names as a disk writes them, the letter case of the pipe's name not its own.
    for (const char* name :
         {".\\data\\pipe.png", "data\\PIPE.PNG", "data/folder.png", "data\\link.png", "/dev/null"}) {
        EXPECT_TRUE(Files::exists(name)) << name;
        EXPECT_EQ(Files::open(name), nullptr) << name;
        std::string bytes = "old";
        EXPECT_FALSE(Files::readAll(name, bytes)) << name;
        EXPECT_TRUE(bytes.empty()) << name;
        Files::Reader reader(name);
        EXPECT_FALSE(reader.isOpen()) << name;
        char buf[16];
        EXPECT_EQ(reader.read(buf, sizeof buf), 0u) << name;
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(guard.fired());
}

TEST_F(NotAFileNamed, PicturesAndSoundsNamedLikeThemDoNotLoad) {
    const Clock::time_point start = Clock::now();
    for (const char* name : {"data\\pipe.png", "data\\folder.png", "data\\link.png"}) {
        std::vector<std::uint32_t> argb;
        gfx::ImageInfo info;
        EXPECT_FALSE(gfx::PictureFile::decode(name, argb, info)) << name;
        // Found, but not a file that loads.
        int error = audio::kErrNone;
        EXPECT_EQ(audio::DecoderFactory::open(name, error), nullptr) << name;
        EXPECT_EQ(error, audio::kErrFileLoad) << name;
    }
    int error = audio::kErrNone;
    EXPECT_EQ(audio::DecoderFactory::open("data\\none.png", error), nullptr);
    EXPECT_EQ(error, audio::kErrFileNotFound);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_FALSE(guard.fired());
}

TEST(RegularFile, ReadsSeeksAndKnowsItsSize) {
    test::TempDisk disk;
    disk.write("data/Some File.TXT", "0123456789");
    std::unique_ptr<InputStream> file = Files::open("data\\some file.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size(), 10);
    char buf[8] = {};
    EXPECT_EQ(file->read(buf, 4), 4u);
    EXPECT_EQ(std::string(buf, 4), "0123");
    EXPECT_EQ(file->seek(-3, SEEK_END), 7);
    EXPECT_EQ(file->read(buf, 8), 3u);  // short only at the end
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_EQ(file->read(buf, 8), 0u);
    EXPECT_FALSE(file->failed());
    EXPECT_EQ(file->seek(-1, SEEK_SET), -1);  // before the start: refused, the place kept
    EXPECT_EQ(file->tell(), 10);
    EXPECT_EQ(file->seek(2, SEEK_SET), 2);
    EXPECT_EQ(file->seek(3, SEEK_CUR), 5);
    EXPECT_EQ(file->read(buf, 1), 1u);
    EXPECT_EQ(buf[0], '5');
}

}  // namespace
}  // namespace qa::platform
