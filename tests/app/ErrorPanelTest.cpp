// The panel over the scene: red for a document that does not load, amber for warnings alone, as
// many lines as it holds and no more.
#include <gtest/gtest.h>

#include "app/ErrorPanel.h"
#include "platform/gfx/Device.h"
#include "support/DrawingScene.h"

namespace qa::app {
namespace {

using test::DrawingScene;

// Draws the panel over a black frame and reads it back.
void drawPanel(DrawingScene& scene, ErrorPanel& panel) {
    scene.device().clear(platform::gfx::kClearTarget, 0xFF000000u, 1.0f, 0);
    scene.device().beginScene();
    panel.draw(&scene.device(), scene.sprite(), scene.font());
    scene.device().endScene();
    scene.readBack();
}

TEST(ErrorPanel, ErrorsAndWarningsAloneLookDifferentAndTheBoxFollowsTheKind) {
    DrawingScene scene;
    ErrorPanel panel;
    panel.show({"data/QuorvArt.XQD:3:1: error: mismatched tag"});
    EXPECT_FALSE(panel.warningsOnly());
    drawPanel(scene, panel);
    const std::uint32_t errorBorder = scene.pixel(ErrorPanel::kLeft, ErrorPanel::kTop + 5);
    const std::uint32_t errorBox = scene.pixel(ErrorPanel::kLeft + 8, ErrorPanel::kTop + 8);
    EXPECT_GT(test::redOf(errorBorder), 2 * test::greenOf(errorBorder));

    panel.showWarnings(
        {"data/QuorvArt.XQD:2:20: warning: item \"a\" image: picture \"x.png\" does not exist"});
    EXPECT_TRUE(panel.warningsOnly());
    drawPanel(scene, panel);  // the same height: the box is made again for the other kind
    const std::uint32_t warningBorder = scene.pixel(ErrorPanel::kLeft, ErrorPanel::kTop + 5);
    const std::uint32_t warningBox = scene.pixel(ErrorPanel::kLeft + 8, ErrorPanel::kTop + 8);
    EXPECT_NE(warningBorder, errorBorder);
    EXPECT_NE(warningBox, errorBox);
    EXPECT_GT(test::greenOf(warningBorder), test::blueOf(warningBorder) + 64);  // amber

    // The text is drawn on the box, below its padding.
    const DrawingScene::Box lit = scene.litBox();
    EXPECT_EQ(lit.left, ErrorPanel::kLeft);
    EXPECT_EQ(lit.right, ErrorPanel::kLeft + ErrorPanel::kWidth);
    EXPECT_EQ(lit.bottom - lit.top, ErrorPanel::kLineHeight + 24);

    // No warnings: hidden, and nothing is drawn.
    panel.showWarnings({});
    EXPECT_FALSE(panel.visible());
    EXPECT_FALSE(panel.warningsOnly());
    drawPanel(scene, panel);
    EXPECT_EQ(scene.litBox().right, 0);
    panel.releaseBox();
}

TEST(ErrorPanel, ManyLinesEndInACountOfTheRest) {
    ErrorPanel panel;
    std::vector<std::string> many;
    for (int i = 0; i < 20; ++i) many.push_back("warning " + std::to_string(i));
    panel.showWarnings(many);
    ASSERT_EQ(panel.lines().size(), static_cast<std::size_t>(ErrorPanel::kMaxLines));
    EXPECT_EQ(panel.lines()[ErrorPanel::kMaxLines - 2], "warning 10");
    EXPECT_EQ(panel.lines().back(), "... and 9 more");
}

}  // namespace
}  // namespace qa::app
