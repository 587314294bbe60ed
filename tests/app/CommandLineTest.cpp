// The program's command line: what is accepted, and that every mistake is refused with a reason.
#include <gtest/gtest.h>

#include <vector>

#include "app/CommandLine.h"

namespace qa::app {
namespace {

bool parse(std::vector<const char*> args, CommandLine& line, std::string& error) {
    args.insert(args.begin(), "quorvart");
    return line.parse(static_cast<int>(args.size()), args.data(), error);
}

TEST(CommandLine, NothingGivenIsEmpty) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(parse({}, line, error));
    EXPECT_TRUE(line.empty());
    EXPECT_EQ(line.action, CommandLine::Action::Play);
}

TEST(CommandLine, DiskAndOptionsInAnyOrder) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(parse({"--sound", "off", "my disk", "--window", "--no-launcher", "--watch"}, line, error))
        << error;
    EXPECT_EQ(line.disk, "my disk");
    EXPECT_EQ(line.windowed, true);
    EXPECT_EQ(line.sound, false);
    EXPECT_TRUE(line.noLauncher);
    EXPECT_TRUE(line.watch);
    EXPECT_FALSE(line.empty());
    CommandLine scaled;
    ASSERT_TRUE(parse({"--scale", "pixel"}, scaled, error)) << error;
    EXPECT_EQ(scaled.scale, platform::gfx::ScaleMode::Pixel);
    EXPECT_FALSE(scaled.empty());
}

TEST(CommandLine, HelpWinsOverVersion) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(parse({"--version", "--help"}, line, error));
    EXPECT_EQ(line.action, CommandLine::Action::Help);
    CommandLine other;
    ASSERT_TRUE(parse({"--help", "--version"}, other, error));
    EXPECT_EQ(other.action, CommandLine::Action::Help);
}

TEST(CommandLine, MistakesAreRefusedWithTheirReason) {
    struct Case {
        std::vector<const char*> args;
        const char* reason;
    };
    const Case cases[] = {
        {{"--fulscreen"}, "unknown option \"--fulscreen\""},
        {{"--sound"}, "--sound needs on or off"},
        {{"--sound", "yes"}, "--sound needs on or off, not \"yes\""},
        {{"a", "b"}, "one disk at a time: \"a\" and \"b\""},
        {{"--window", "--fullscreen"}, "--window and --fullscreen exclude each other"},
        {{""}, "the disk's name is empty"},
        {{"--scale"}, "--scale needs sharp, smooth or pixel"},
        {{"--scale", "linear"}, "--scale needs sharp, smooth or pixel, not \"linear\""},
    };
    for (const Case& c : cases) {
        CommandLine line;
        std::string error;
        EXPECT_FALSE(parse(c.args, line, error)) << c.reason;
        EXPECT_EQ(error, c.reason);
    }
}

}  // namespace
}  // namespace qa::app
