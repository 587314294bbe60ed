// The settings file when it is garbled, when its folder cannot be written, and when the program
// dies in the middle of writing it: the program still starts with the defaults, and the file on
// disk is always a whole file, the old one or the new one.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include "app/Application.h"
#include "app/MainLoop.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "platform/file/FileSettingsStore.h"
#include "platform/gfx/null/NullGraphics.h"
#include "support/FakeInput.h"
#include "support/FakeWindow.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

extern char** environ;

namespace qa::platform {
namespace {

using test::put;

namespace fs = std::filesystem;
using namespace window;

// The program from the launcher to the end of its first frame, on the settings file given: the
// user presses the start button straight away.
struct Start {
    int exitCode = -1;
    bool fullscreenTicked = false;
    bool soundTicked = false;
    int frames = 0;
};
Start startWith(const fs::path& settingsFile, std::FILE* notices = stderr) {
    test::TempDisk disk;
    disk.writeScene("<scene><item name=\"a\"/></scene>");
    test::FakeWindow window;
    window.launcherMessages = {{WM_SHOWWINDOW, 1, 0}, {WM_COMMAND, kStartButton, 0}};
    window.queue = {InputEvent::close()};
    test::FakeClock clock;
    test::FakeJoystick joystick;
    joystick.present = false;
    FileSettingsStore store(settingsFile, notices);
    gfx::NullGraphics graphics;
    audio::SoftwareSoundLibrary sound(audio::OutputKind::Pull);
    app::Application::Platform p;
    p.window = &window;
    p.clock = &clock;
    p.joystick = &joystick;
    p.settingsStore = &store;
    p.graphics = &graphics;
    p.sound = &sound;
    app::Application application(p);
    Start s;
    s.exitCode = application.run();
    s.fullscreenTicked = window.isChecked(kFullscreenBox);
    s.soundTicked = window.isChecked(kSoundBox);
    s.frames = application.mainLoop()->frameNumber();
    return s;
}

const std::string kHead =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brennick\\QuorvArt]\n";

TEST(BadSettings, GarbledFileStartsWithTheDefaultsAndIsReplacedWhole) {
    test::TempDisk home;
    const fs::path file = home.root() / "cfg" / "settings.reg";
    std::string noise;
    std::minstd_rand random(7);
    for (int i = 0; i < 3000; ++i) noise.push_back(static_cast<char>(random() & 0xFF));
    const std::string garbled[] = {
        noise,
        kHead + "\"windowed\"=hex:0",              // cut in the middle of the value
        kHead + "\"windowed\"=hex:01,\\",          // a continuation that never comes
        kHead + "\"windowed\"\n\"usesound\"=",     // names with no value
        std::string("\xFF\xFE", 2) + "W\0i\0n\0",  // UTF-16, cut short (odd contents)
        std::string(2u << 20, 'x'),                // far bigger than any settings file
        kHead + std::string(100000, '['),
    };
    for (const std::string& text : garbled) {
        put(file, text);
        const Start s = startWith(file);
        EXPECT_EQ(s.exitCode, 0);
        EXPECT_EQ(s.frames, 1);
        // The defaults: full screen and sound, both boxes ticked.
        EXPECT_TRUE(s.fullscreenTicked);
        EXPECT_TRUE(s.soundTicked);
        // The start wrote a whole file in the garbled one's place.
        FileSettingsStore store(file);
        std::uint8_t windowed = 9, usesound = 9;
        EXPECT_TRUE(store.read("windowed", windowed));
        EXPECT_TRUE(store.read("usesound", usesound));
        EXPECT_EQ(windowed, 0);
        EXPECT_EQ(usesound, 1);
    }
}

TEST(BadSettings, UnwritableFolderStillStartsWithTheDefaults) {
    test::TempDisk home;
    // A file stands where a folder of the path should be; the settings file is a folder; or (for a
    // user the permissions bind) the folder is read-only.
    put(home.root() / "blocked", "a file");
    fs::create_directories(home.root() / "isfolder" / "settings.reg");
    std::vector<fs::path> files = {home.root() / "blocked" / "QuorvArt" / "settings.reg",
                                   home.root() / "isfolder" / "settings.reg"};
    const fs::path readOnly = home.root() / "readonly";
    fs::create_directories(readOnly);
    if (::geteuid() != 0) {
        fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
        files.push_back(readOnly / "settings.reg");
    }
    for (const fs::path& file : files) {
        const Start s = startWith(file);
        EXPECT_EQ(s.exitCode, 0) << file;
        EXPECT_EQ(s.frames, 1) << file;
        EXPECT_TRUE(s.fullscreenTicked) << file;
        EXPECT_TRUE(s.soundTicked) << file;
        std::uint8_t v;
        EXPECT_FALSE(FileSettingsStore(file).read("windowed", v)) << file;
    }
    fs::permissions(readOnly, fs::perms::owner_all);
}

TEST(BadSettings, ALinkAPipeOrAFileNotTheProgramsOwnIsLeftAsItIsAndTheDefaultsStand) {
    test::TempDisk home;
    const std::string windowed = kHead + "\"windowed\"=hex:01\n";
    put(home.root() / "elsewhere.reg", windowed);
    const fs::path link = home.root() / "link" / "settings.reg";
    fs::create_directories(link.parent_path());
    fs::create_symlink(home.root() / "elsewhere.reg", link);
    const fs::path pipe = home.root() / "pipe" / "settings.reg";
    fs::create_directories(pipe.parent_path());
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const fs::path twoNames = home.root() / "hard" / "settings.reg";
    fs::create_directories(twoNames.parent_path());
    fs::create_hard_link(home.root() / "elsewhere.reg", twoNames);
    std::vector<fs::path> files = {link, pipe, twoNames};
    const fs::path foreign = home.root() / "foreign" / "settings.reg";
    if (::geteuid() == 0) {
        put(foreign, windowed);
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
        files.push_back(foreign);
    }
    for (const fs::path& file : files) {
        std::FILE* notices = std::tmpfile();
        const Start s = startWith(file, notices);  // a pipe would block here, were it opened to wait
        EXPECT_EQ(s.exitCode, 0) << file;
        EXPECT_TRUE(s.fullscreenTicked) << file;  // the defaults, not the file's "windowed"
        std::string said(400, '\0');
        std::rewind(notices);
        said.resize(std::fread(said.data(), 1, said.size(), notices));
        std::fclose(notices);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(file.string()), std::string::npos) << said;
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_fifo(pipe));
    std::ifstream in(home.root() / "elsewhere.reg");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), windowed);
    EXPECT_EQ(fs::hard_link_count(twoNames), 2u);
    if (::geteuid() == 0) {
        std::ifstream f(foreign);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), windowed);
    }
}

// Run in a child process by the test below: writes the two settings over and over, alternating
// between two states in which they differ, until it is killed.
TEST(BadSettings, WriterForTheKilledWriteTest) {
    const char* path = std::getenv("QA_SETTINGS_WRITER_FILE");
    if (!path) GTEST_SKIP() << "started only by KilledWriteLeavesTheOldOrTheNewFile";
    FileSettingsStore store{fs::path(path)};
    for (std::uint8_t i = 0;; i ^= 1)
        store.write({{"windowed", i}, {"usesound", static_cast<std::uint8_t>(1 - i)}});
}

TEST(BadSettings, KilledWriteLeavesTheOldOrTheNewFile) {
    test::TempDisk home;
    const fs::path file = home.root() / "cfg" / "settings.reg";
    put(file, kHead + "\"windowed\"=hex:01\n\"usesound\"=hex:00\n\n");
    const std::string variable = "QA_SETTINGS_WRITER_FILE=" + file.string();
    std::vector<char*> env;
    for (char** e = environ; *e; ++e) env.push_back(*e);
    env.push_back(const_cast<char*>(variable.c_str()));
    env.push_back(nullptr);
    std::string self = fs::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=BadSettings.WriterForTheKilledWriteTest";
    char* argv[] = {self.data(), filter.data(), nullptr};

    std::minstd_rand random(42);
    int kills = 0;
    for (int round = 0; round < 25; ++round) {
        const auto written = fs::last_write_time(file);
        pid_t child = 0;
        ASSERT_EQ(::posix_spawn(&child, self.c_str(), nullptr, nullptr, argv, env.data()), 0);
        // Once the writer is at work (the file has been replaced), kill it at a random moment.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (fs::last_write_time(file) == written && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 5000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        kills += WIFSIGNALED(status) ? 1 : 0;

        // The file is whole: both values, in one of the two states the writer writes.
        FileSettingsStore store(file);
        std::uint8_t windowed = 9, usesound = 9;
        ASSERT_TRUE(store.read("windowed", windowed)) << "round " << round;
        ASSERT_TRUE(store.read("usesound", usesound)) << "round " << round;
        EXPECT_EQ(windowed + usesound, 1) << "round " << round;
    }
    EXPECT_EQ(kills, 25);
}

}  // namespace
}  // namespace qa::platform
