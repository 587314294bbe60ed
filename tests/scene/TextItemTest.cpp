// Bitmap-font text: line breaking, and drawing scrolled and clipped, on generated glyph sheets.
#include <gtest/gtest.h>

#include "scene/SceneState.h"
#include "scene/TextItem.h"
#include "support/DrawingScene.h"

namespace qa::scene {
namespace {

using test::DrawingScene;
using test::PictureMaker;

// A sheet of 16 x 16-pixel cells: letters 11 wide, the digits 15 wide, everything else 10 wide
// except blank cells (space, line ends), which measure 16 / 4 + 1 = 5.
int sheetWidth(int c) {
    if (c == ' ' || c == '\r' || c == '\n') return 0;
    if (c >= 'A' && c <= 'Z') return 11;
    if (c >= '0' && c <= '9') return 15;
    return 10;
}

TextItem* textItem(DrawingScene& scene, const std::string& text, float w, float h) {
    static int n = 0;
    const std::string textFile = "t" + std::to_string(n++) + ".txt";
    scene.disk().write(textFile, text);
    scene.put("font.png", PictureMaker::fontSheet(16, 16, sheetWidth));
    auto* item = scene.scene().make<TextItem>("font.png", textFile);
    scene.scene().rootItems.push_back(item);
    item->size = {w, h, 0};
    item->centre = {0, 0, 0};
    item->position = {100, 100, 0};
    return item;
}

std::vector<std::string> laidOut(TextItem* item) {
    item->layout();
    return item->lines.copies(item->text);
}

using Lines = std::vector<std::string>;

TEST(TextItemText, SpellingsOfOneFileShareOneCopyWhileEachItemMayBeGivenItsOwn) {
    DrawingScene scene;
    scene.disk().write("data/words.txt", "AAAA BBBB");
    scene.put("font.png", PictureMaker::fontSheet(16, 16, sheetWidth));
    auto* a = scene.scene().make<TextItem>("font.png", "data\\words.txt");
    auto* b = scene.scene().make<TextItem>("font.png", "./DATA/Words.TXT");
    EXPECT_TRUE(a->text.sameCopy(b->text));
    EXPECT_EQ(b->text.str(), "AAAA BBBB");

    // One item given a text of its own leaves the other's as it was.
    a->text = a->text.str() + "\n";
    EXPECT_EQ(b->text.str(), "AAAA BBBB");
    EXPECT_EQ(a->text.str(), "AAAA BBBB\n");

    // A file changed since it was read is read again for the items made after.
    scene.disk().write("data/words.txt", "CC");
    auto* c = scene.scene().make<TextItem>("font.png", "data/words.txt");
    EXPECT_EQ(c->text.str(), "CC");
    EXPECT_EQ(b->text.str(), "AAAA BBBB");
}

TEST(TextItemLayout, WrapsAtSpacesAndHyphensCarryingThePendingWord) {
    DrawingScene scene;
    // Three words of 55 + 5 (the space) = 60 pixels in a width of 100: the pending second word is
    // measured with the third and, the line being empty, kept whole with it.
    EXPECT_EQ(laidOut(textItem(scene, "AAAAA AAAAA AAAAA ", 100, 300)), (Lines{"AAAAA ", "AAAAA AAAAA "}));
    // A hyphen is a break opportunity too.
    EXPECT_EQ(laidOut(textItem(scene, "AAAAA-AAAAA-", 100, 300)), (Lines{"AAAAA-", "AAAAA-"}));
    // A word wider than an empty line stays whole on its own line.
    EXPECT_EQ(laidOut(textItem(scene, "AAAAAAAAAAAA AA", 100, 300)), (Lines{"AAAAAAAAAAAA ", "AA"}));
}

TEST(TextItemLayout, ALineEndSurvivesItsWordsWrap) {
    DrawingScene scene;
    // "AAAA " is 49 pixels, "AAAA" 44: one word per line in a width of 80. The line end of the
    // wrapped word ends that word's line; it does not merge with the next paragraph.
    EXPECT_EQ(laidOut(textItem(scene, "AAAA AAAA\nBB\nBB", 80, 300)),
              (Lines{"AAAA ", "AAAA\n", "BB\n", "BB"}));
    EXPECT_EQ(laidOut(textItem(scene, "AAAAA AAAAA\r\nBB", 100, 300)), (Lines{"AAAAA ", "AAAAA\r", "BB"}));
    // The extra empty line is judged on the line the line end ends: in a width of 60 the wrapped
    // "AAAA" leaves 16 < 2 cells of room; the line the wrap ended gets none.
    EXPECT_EQ(laidOut(textItem(scene, "AAAA AAAA\nBB", 60, 300)), (Lines{"AAAA ", "AAAA\n", "", "BB"}));
    // A wrapped word wider than the whole width still ends its line.
    EXPECT_EQ(laidOut(textItem(scene, "A AAAAAAAAAAAA\nB", 100, 300)),
              (Lines{"A ", "AAAAAAAAAAAA\n", "", "B"}));
    // Without a line end the wrapped word still joins what follows.
    EXPECT_EQ(laidOut(textItem(scene, "AAAA AAAA BB\n", 80, 300)), (Lines{"AAAA ", "AAAA BB\n", ""}));
}

TEST(TextItemLayout, LineEndsAndTheExtraEmptyLine) {
    DrawingScene scene;
    // "\r\n" is one line end (the carriage return stays, the line feed goes); "\n" and "\r" alone
    // also end a line.
    EXPECT_EQ(laidOut(textItem(scene, "ab\r\ncd\ref\ngh", 300, 300)), (Lines{"ab\r", "cd\r", "ef\n", "gh"}));
    // 7 letters = 77 pixels leave 23 < 2 cells of room: an empty line follows.
    EXPECT_EQ(laidOut(textItem(scene, "AAAAAAA\nB", 100, 300)), (Lines{"AAAAAAA\n", "", "B"}));
    EXPECT_EQ(laidOut(textItem(scene, "AAAAAA\nB", 100, 300)), (Lines{"AAAAAA\n", "B"}));
    EXPECT_EQ(laidOut(textItem(scene, "", 100, 300)), Lines{});
}

TEST(TextItemDraw, GlyphsLandByThePlacementRuleAndTheFirstColumnStartsOnePixelIn) {
    DrawingScene scene;
    TextItem* item = textItem(scene, "AP\xC8", 300, 100);  // 'P' and 0xC8 lie in column 0 of the sheet
    scene.frame();
    EXPECT_EQ(item->lines.copies(item->text), (Lines{"AP\xC8"}));
    EXPECT_EQ(scene.pixel(100, 100), PictureMaker::glyphPixel('A', 0, 0));
    EXPECT_EQ(scene.pixel(110, 115), PictureMaker::glyphPixel('A', 10, 15));
    // 'P' (column 0 of the sheet) is drawn from its cell's column 1 onward, one pixel further right.
    EXPECT_EQ(scene.pixel(112, 100), PictureMaker::glyphPixel('P', 1, 0));
    EXPECT_EQ(scene.pixel(111, 100), 0xFF000000u);
    // Byte 0xC8 = 200 comes from row 12 of the sheet and follows after 11 + 1 + 11 pixels.
    EXPECT_EQ(scene.pixel(124, 100), PictureMaker::glyphPixel(200, 1, 0));
    EXPECT_EQ(scene.scene().drawnItems.size(), 1u);

    // The centre counts twice for glyphs, as for pictures; scale applies around it.
    item->centre = {10, 20, 0};
    item->scale = {2, 2, 1};
    scene.frame();
    EXPECT_EQ(scene.litBox().left, 100 - 40);
    EXPECT_EQ(scene.litBox().top, 100 - 80);
    EXPECT_EQ(scene.pixel(60, 20), PictureMaker::glyphPixel('A', 0, 0));
    EXPECT_EQ(scene.pixel(63, 23), PictureMaker::glyphPixel('A', 1, 1));
}

TEST(TextItemDraw, VerticalScrollClipsOnlyLineZeroAndTheBoxBottomDropsPartLines) {
    DrawingScene scene;
    TextItem* item = textItem(scene, "A\rB\rC\rD\rE", 300, 40);
    item->sourceOffset = {0, 5, 0};
    scene.frame();
    EXPECT_EQ(item->lines.size(), 5u);
    // Line 0 from 5 pixels below its cell top; line 1 at pen.y = 11.
    EXPECT_EQ(scene.pixel(100, 100), PictureMaker::glyphPixel('A', 0, 5));
    EXPECT_EQ(scene.pixel(100, 110), PictureMaker::glyphPixel('A', 0, 15));
    EXPECT_EQ(scene.pixel(100, 111), PictureMaker::glyphPixel('B', 0, 0));
    // Lines are drawn while pen.y + 16 <= 40: line 2 at 27 would end at 43 and is left out.
    EXPECT_EQ(scene.litBox().bottom, 127);

    item->sourceOffset = {0, 21, 0};  // from line 1, without a top clip, as for 16
    scene.frame();
    EXPECT_EQ(scene.pixel(100, 100), PictureMaker::glyphPixel('B', 0, 0));
    EXPECT_EQ(scene.pixel(100, 116), PictureMaker::glyphPixel('C', 0, 0));
    EXPECT_EQ(scene.litBox().bottom, 132);

    item->sourceOffset = {0, -1, 0};
    scene.frame();
    EXPECT_EQ(scene.litBox().right, 0);
}

TEST(TextItemDraw, HorizontalScrollSkipsGlyphsAndTheRightEdgeCutsTheLastOne) {
    DrawingScene scene;
    // Glyphs of 10 pixels: with ox = 30 the first two are skipped and the third (advance 30, equal to
    // ox) is drawn whole at pen.x = 0.
    TextItem* item = textItem(scene, "abcde", 300, 100);
    item->sourceOffset = {30, 0, 0};
    scene.frame();
    EXPECT_EQ(scene.pixel(100, 100), PictureMaker::glyphPixel('c', 0, 0));
    EXPECT_EQ(scene.pixel(110, 100), PictureMaker::glyphPixel('d', 0, 0));
    EXPECT_EQ(scene.litBox().right, 130);

    // Digits are 15 wide: in a width of 25 the second is cut to 16 - (30 - 25) = 11 columns and the
    // line stops there.
    TextItem* digits = textItem(scene, "1234", 25, 100);
    digits->position = {100, 300, 0};
    item->visible = false;
    scene.frame();
    EXPECT_EQ(scene.litBox().left, 100);
    EXPECT_EQ(scene.litBox().right, 126);
    EXPECT_EQ(scene.pixel(125, 300), PictureMaker::glyphPixel('2', 10, 0));
}

TEST(TextItemDraw, WrappedSecondLineStopsAtTheGlyphThatPassesTheWidth) {
    DrawingScene scene;
    TextItem* item = textItem(scene, "AAAAA AAAAA AAAAA ", 100, 100);
    scene.frame();
    ASSERT_EQ(item->lines.size(), 2u);
    // Line 1 holds 120 pixels; the glyph that carries the pen past 100 is the last drawn: the fourth
    // 'A' of the second word, from 94 to 105 (the space moved the pen one extra pixel).
    auto box = scene.litBox();
    EXPECT_EQ(box.bottom, 132);
    EXPECT_EQ(scene.pixel(100 + 104, 116), PictureMaker::glyphPixel('A', 10, 0));
    for (int x = 205; x < 300; ++x) EXPECT_EQ(scene.pixel(x, 116), 0xFF000000u) << x;
}

TEST(TextItemDraw, ALineTheLayoutFittedIsDrawnWholeDespiteTheFirstColumnPixels) {
    DrawingScene scene;
    // Twelve "A " pairs and "AAA": 12 x 16 + 33 = 225 pixels as laid out; each space (a glyph of
    // the sheet's first column) moves the pen one extra pixel, so the pen passes 225 twelve pixels
    // early. The whole line is still drawn: the last 'A' spans 226 to 237.
    std::string text;
    for (int i = 0; i < 12; ++i) text += "A ";
    text += "AAA";
    TextItem* item = textItem(scene, text, 225, 100);
    scene.frame();
    ASSERT_EQ(item->lines.size(), 1u);
    EXPECT_EQ(scene.pixel(100 + 226 + 10, 100), PictureMaker::glyphPixel('A', 10, 0));
    EXPECT_EQ(scene.litBox().right, 100 + 237);
}

TEST(TextItemDraw, LayoutOnceAndNoDrawingWithoutSpriteOrFont) {
    DrawingScene scene;
    TextItem* item = textItem(scene, "AAAAA AAAAA AAAAA ", 100, 100);
    auto* child = scene.scene().make<ImageItem>("");
    item->addChild(child);
    scene.scene().sprite = nullptr;
    EXPECT_FALSE(item->draw());
    EXPECT_FALSE(item->laidOut);
    EXPECT_TRUE(scene.scene().drawnItems.empty());
    scene.scene().sprite = scene.sprite();
    EXPECT_FALSE(item->draw());  // the child has nothing to draw
    EXPECT_EQ(scene.scene().drawnItems.size(), 2u);
    // A later change of width moves the clipping, not the line breaks.
    item->size.x = 1000;
    item->draw();
    EXPECT_EQ(item->lines.size(), 2u);

    auto* noFont = scene.scene().make<TextItem>("missing.png", "missing.txt");
    scene.scene().drawnItems.clear();
    EXPECT_FALSE(noFont->draw());
    EXPECT_TRUE(scene.scene().drawnItems.empty());
    noFont->visible = false;
    EXPECT_TRUE(noFont->draw());
}

}  // namespace
}  // namespace qa::scene
