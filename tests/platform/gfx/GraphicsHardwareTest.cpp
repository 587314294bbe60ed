// The look-up of graphics hardware: device nodes that an accelerated driver could use count, other
// entries do not.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/gfx/GraphicsHardware.h"

namespace qa::platform::gfx {
namespace {

namespace fs = std::filesystem;

TEST(GraphicsHardware, DeviceNodesOfDriversCount) {
    const fs::path dev = fs::temp_directory_path() /
                         ("qa-dev-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(dev);
    fs::create_directories(dev);
    EXPECT_FALSE(GraphicsHardware::presentUnder(dev));
    EXPECT_FALSE(GraphicsHardware::presentUnder(dev / "missing"));
    fs::create_directories(dev / "dri" / "by-path");
    std::ofstream(dev / "null");
    EXPECT_FALSE(GraphicsHardware::presentUnder(dev));
    std::ofstream(dev / "dri" / "renderD128");
    EXPECT_TRUE(GraphicsHardware::presentUnder(dev));
    fs::remove(dev / "dri" / "renderD128");
    std::ofstream(dev / "dri" / "card0");
    EXPECT_TRUE(GraphicsHardware::presentUnder(dev));
    fs::remove_all(dev / "dri");
    for (const char* node : {"nvidiactl", "dxg"}) {
        std::ofstream(dev / node);
        EXPECT_TRUE(GraphicsHardware::presentUnder(dev)) << node;
        fs::remove(dev / node);
    }
    fs::remove_all(dev);
}

}  // namespace
}  // namespace qa::platform::gfx
