// The settings file: its text form, garbled and odd values, the atomic write, and where it lives.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/file/FileSettingsStore.h"
#include "platform/sdl/SdlJoystick.h"
#include "support/TempDisk.h"
#include "support/TestFiles.h"

namespace qa::platform {
namespace {

using test::bytesOf;
using test::put;

namespace fs = std::filesystem;

const std::string kHead =
    "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\Brennick\\QuorvArt]\n";

TEST(FileSettingsStore, RoundTripInTheRegistryExportForm) {
    test::TempDisk disk;
    const fs::path file = disk.root() / "cfg" / "Brennick" / "QuorvArt" / "settings.reg";
    FileSettingsStore store(file);
    std::uint8_t v = 7;
    EXPECT_FALSE(store.read("windowed", v));  // no file yet
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(store.write({{"windowed", 1}, {"usesound", 0}}));
    EXPECT_EQ(bytesOf(file), kHead + "\"usesound\"=hex:00\n\"windowed\"=hex:01\n\n");
    EXPECT_TRUE(store.read("windowed", v));
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(store.read("usesound", v));
    EXPECT_EQ(v, 0);
    EXPECT_TRUE(store.write({{"windowed", 0xAB}}));
    EXPECT_TRUE(store.read("windowed", v));
    EXPECT_EQ(v, 0xAB);
    EXPECT_TRUE(store.read("usesound", v));  // kept
    EXPECT_EQ(v, 0);
}

TEST(FileSettingsStore, GarbledOrOddValuesReadAsAbsent) {
    test::TempDisk disk;
    const fs::path file = disk.root() / "settings.reg";
    FileSettingsStore store(file);
    std::uint8_t v = 0;
    auto readsAs = [&](const std::string& line) -> int {
        put(file, kHead + line + "\n");
        v = 0x5A;
        return store.read("windowed", v) ? v : -1;
    };
    EXPECT_EQ(readsAs("\"windowed\"=hex:01"), 1);
    EXPECT_EQ(readsAs("\"WINDOWED\" = hex(3):FF"), 0xFF);  // names without case; the type is not examined
    EXPECT_EQ(readsAs("\"windowed\"=hex(0):01"), 1);
    EXPECT_EQ(readsAs("\"windowed\"=hex:01,02"), -1);  // two bytes
    EXPECT_EQ(readsAs("\"windowed\"=hex:"), -1);       // none
    EXPECT_EQ(readsAs("\"windowed\"=dword:00000001"), -1);
    EXPECT_EQ(readsAs("\"windowed\"=\"1\""), -1);
    EXPECT_EQ(readsAs("\"windowed\"=hex:1"), -1);
    EXPECT_EQ(readsAs("\"windowed\"=hex:zz"), -1);
    EXPECT_EQ(readsAs("\"windowed\"=-"), -1);
    EXPECT_EQ(readsAs("\"windowed=hex:01"), -1);
    EXPECT_EQ(readsAs("\"windowed\"=hex:01\n\"windowed\"=hex:00"), 0);  // the later line wins
    EXPECT_EQ(v, 0);
    EXPECT_EQ(readsAs("\"windowed\"=hex:\\\n  01"), 1);  // continued on the next line
    EXPECT_EQ(readsAs("\"usesound\"=hex:01"), -1);
    // Another key, a deleted key, or no key at all.
    put(file, "[HKEY_CURRENT_USER\\SOFTWARE\\Other]\n\"windowed\"=hex:01\n");
    EXPECT_FALSE(store.read("windowed", v));
    put(file, kHead + "\"windowed\"=hex:01\n[-HKEY_CURRENT_USER\\SOFTWARE\\Brennick\\QuorvArt]\n");
    EXPECT_FALSE(store.read("windowed", v));
    std::string noise;
    for (int i = 0; i < 4096; ++i) noise.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
    put(file, noise);
    EXPECT_FALSE(store.read("windowed", v));
    // Saved by the registry editor as UTF-16 with CRLF.
    std::string wide = "\xFF\xFE";
    for (char c : kHead + "\"windowed\"=hex:01\r\n") {
        if (c == '\n') wide += std::string("\r\0", 2);
        wide += std::string(1, c) + std::string(1, '\0');
    }
    put(file, wide);
    EXPECT_TRUE(store.read("windowed", v));
    EXPECT_EQ(v, 1);
    // A garbled file is replaced whole by the next write.
    put(file, noise);
    EXPECT_TRUE(store.write({{"windowed", 0}, {"usesound", 1}}));
    EXPECT_TRUE(store.read("usesound", v));
    EXPECT_EQ(v, 1);
}

TEST(FileSettingsStore, WritesAtomicallyAndIgnoresAnUnwritableFolder) {
    test::TempDisk disk;
    const fs::path file = disk.root() / "settings.reg";
    put(file, kHead + "\"other\"=dword:00000005\n\"windowed\"=hex:01\n");
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    FileSettingsStore store(file);
    EXPECT_TRUE(store.write({{"windowed", 0}, {"usesound", 1}}));
    // A new file took the old one's place (readers see the old or the new file, never a mix), the
    // key's other values stayed, and no temporary file is left behind.
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino);
    EXPECT_EQ(bytesOf(file),
              kHead + "\"other\"=dword:00000005\n\"windowed\"=hex:00\n\"usesound\"=hex:01\n\n");
    int entries = 0;
    for (const auto& e : fs::directory_iterator(disk.root()))
        entries += e.path().filename() == "data" ? 0 : 1;
    EXPECT_EQ(entries, 1);

    // A folder that cannot be made (a file stands where it should be): the write fails quietly.
    put(disk.root() / "blocked", "a file");
    FileSettingsStore blocked(disk.root() / "blocked" / "QuorvArt" / "settings.reg");
    EXPECT_FALSE(blocked.write({{"windowed", 1}}));
    std::uint8_t v;
    EXPECT_FALSE(blocked.read("windowed", v));
    FileSettingsStore nowhere{fs::path()};
    EXPECT_FALSE(nowhere.write({{"windowed", 1}}));
}

TEST(FileSettingsStore, LivesInTheUsersConfigFolder) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string savedXdg = xdg ? xdg : "", savedHome = home ? home : "";
    ::setenv("XDG_CONFIG_HOME", "/x/cfg", 1);
    ::setenv("HOME", "/h/me", 1);
    EXPECT_EQ(FileSettingsStore::defaultPath(), fs::path("/x/cfg/Brennick/QuorvArt/settings.reg"));
    ::setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(FileSettingsStore::defaultPath(), fs::path("/h/me/.config/Brennick/QuorvArt/settings.reg"));
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileSettingsStore::defaultPath(), fs::path("/h/me/.config/Brennick/QuorvArt/settings.reg"));
    ::unsetenv("HOME");
    EXPECT_TRUE(FileSettingsStore::defaultPath().empty());
    if (xdg) ::setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1);
    if (home) ::setenv("HOME", savedHome.c_str(), 1);
}

TEST(SdlJoystickPositions, AxesSpanTheFullRange) {
    EXPECT_EQ(SdlJoystick::toPosition(-32768), 0u);
    EXPECT_EQ(SdlJoystick::toPosition(0), 32768u);
    EXPECT_EQ(SdlJoystick::toPosition(32767), 65535u);
}

}  // namespace
}  // namespace qa::platform
