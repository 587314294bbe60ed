// Sheets made from a real font: the engine measures and draws them as laid out, and the program
// quorvart-font answers bad usage clearly.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "font/FontSheet.h"
#include "font/GlyphRasterizer.h"
#include "font/SheetFile.h"
#include "scene/PictureCache.h"
#include "scene/SceneState.h"
#include "scene/TextItem.h"
#include "support/DrawingScene.h"

namespace qa::font {
namespace {

const std::string kSans = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

struct Made {
    GlyphSet glyphs;
    FontSheet sheet;
};

Made make(int size, const SheetStyle& style = SheetStyle{}) {
    Made m;
    std::string error;
    EXPECT_TRUE(GlyphRasterizer::render(kSans, size, style.outline, m.glyphs, error)) << error;
    EXPECT_TRUE(m.sheet.build(m.glyphs, style, error)) << error;
    return m;
}

TEST(FontTool, TheEngineMeasuresTheWidthsTheSheetWasLaidOutWith) {
    for (int size : {11, 16, 25}) {
        Made m = make(size);
        test::DrawingScene scene;
        std::string error;
        ASSERT_TRUE(SheetFile::write(m.sheet, (scene.disk().root() / "font.png").string(), error)) << error;
        scene::Picture* p = scene.scene().pictures.acquire("font.png");
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(static_cast<int>(p->info.width), m.sheet.width());
        scene::PictureCache::measureGlyphWidths(p);
        const int least = m.sheet.cellWidth() / 4 + 1;
        for (int c = 0; c < 256; ++c) {
            EXPECT_EQ(p->glyphWidths[static_cast<std::size_t>(c)], std::max(m.sheet.glyphWidth(c), least))
                << "size " << size << ", code " << c;
        }
        // Glyphs are drawn the font's advance apart (the first column's one pixel further on than
        // their width), one or two more where anti-aliased ink reaches past the advance (and one
        // more in the first column, whose glyphs start a pixel in).
        for (int c = 33; c < 256; ++c) {
            const GlyphImage& g = m.glyphs.glyphs[static_cast<std::size_t>(c)];
            if (!g.present || g.advance < least + 1) continue;
            const int drawn = p->glyphWidths[static_cast<std::size_t>(c)] + (c % 16 == 0 ? 1 : 0);
            EXPECT_GE(drawn, g.advance) << "size " << size << ", code " << c;
            EXPECT_LE(drawn, g.advance + 2 + (c % 16 == 0 ? 1 : 0)) << "size " << size << ", code " << c;
        }
        EXPECT_EQ(GlyphRasterizer::missing(m.glyphs), 0) << "Liberation Sans covers the code page";
        scene.scene().pictures.release("font.png");
    }
}

TEST(FontTool, TextDrawnWithTheSheetSpansTheMeasuredWidths) {
    Made m = make(16);
    test::DrawingScene scene;
    std::string error;
    ASSERT_TRUE(SheetFile::write(m.sheet, (scene.disk().root() / "font.png").string(), error)) << error;
    // 'p' and '0' are in the sheet's first column: the engine skips their first pixel column.
    const std::string text =
        "0pen Hamburg\xE9"
        "fonts";
    scene.disk().write("t.txt", text);
    auto* item = scene.scene().make<scene::TextItem>("font.png", "t.txt");
    scene.scene().rootItems.push_back(item);
    item->size = {600, 100, 0};
    item->centre = {0, 0, 0};
    item->position = {100, 100, 0};
    scene.frame();
    // Each glyph takes its measured width, and those of the sheet's first column one pixel more.
    int total = 0;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        total += item->picture->glyphWidths[c] + (c % 16 == 0 ? 1 : 0);
    }
    const test::DrawingScene::Box box = scene.litBox();
    // 's' ends on ink; its last lit column is the end of its measured width.
    EXPECT_EQ(box.right, 100 + total);
    EXPECT_GE(box.left, 101);  // '0' starts one pixel in
    EXPECT_LE(box.left, 102);
    EXPECT_LE(box.bottom - box.top, m.sheet.cellHeight());
}

// Runs the program with arguments; its exit code, standard output and standard error.
struct ToolRun {
    int code = -1;
    std::string out, err;
};

ToolRun runTool(const std::string& args) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string out = (dir / ("qa-font-out-" + std::to_string(::getpid()))).string();
    const std::string err = out + ".err";
    const int status =
        std::system((std::string(QA_FONT_EXE) + " " + args + " >" + out + " 2>" + err).c_str());
    auto slurp = [](const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        std::filesystem::remove(path);
        return s.str();
    };
    return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
}

TEST(FontTool, ProgramWritesTheSheetAndPrintsTheCell) {
    test::TempDisk disk;
    const std::string png = (disk.root() / "f.png").string();
    ToolRun r = runTool(kSans + " 16 " + png + " --outline 1 --shadow 1,1 --color ffe080");
    EXPECT_EQ(r.code, 0) << r.err;
    Made m = make(16, [] {
        SheetStyle s;
        s.outline = 1, s.shadow = true, s.shadowDx = 1, s.shadowDy = 1;
        return s;
    }());
    std::ostringstream expected;
    expected << "cell " << m.sheet.cellWidth() << " x " << m.sheet.cellHeight() << " pixels";
    EXPECT_EQ(r.out.rfind(expected.str(), 0), 0u) << r.out;
    EXPECT_TRUE(std::filesystem::exists(png));
    EXPECT_FALSE(std::filesystem::exists(png + ".part"));

    r = runTool("--help");
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("usage: quorvart-font"), std::string::npos);
}

TEST(FontTool, BadUsageAndUnreadableFonts) {
    test::TempDisk disk;
    const std::string png = (disk.root() / "f.png").string();
    const std::array<std::pair<std::string, std::string>, 9> bad{{
        {"", "FONT.ttf, SIZE and OUT.png are needed"},
        {kSans + " 16", "are needed"},
        {kSans + " 16 " + png + " extra", "too many arguments"},
        {kSans + " 3 " + png, "SIZE is a number of pixels from 4 to 160, not '3'"},
        {kSans + " 16px " + png, "not '16px'"},
        {kSans + " 16 " + png + " --color red", "--color takes a colour"},
        {kSans + " 16 " + png + " --shadow 2", "--shadow takes DX,DY"},
        {kSans + " 16 " + png + " --cell 8x8", "at least"},
        {kSans + " 16 " + png + " --frobnicate", "unknown option --frobnicate"},
    }};
    for (const auto& [args, message] : bad) {
        ToolRun r = runTool(args);
        EXPECT_EQ(r.code, 2) << args;
        EXPECT_NE(r.err.find(message), std::string::npos) << args << "\n" << r.err;
        EXPECT_FALSE(std::filesystem::exists(png)) << args;
    }
    EXPECT_NE(runTool("").err.find("usage: quorvart-font"), std::string::npos);

    disk.write("notafont.ttf", "hello");
    ToolRun r = runTool((disk.root() / "notafont.ttf").string() + " 16 " + png);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("not a font file"), std::string::npos) << r.err;
    r = runTool((disk.root() / "none.ttf").string() + " 16 " + png);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot be opened"), std::string::npos) << r.err;
    // An unwritable target: the error names it, and nothing is left behind.
    r = runTool(kSans + " 16 " + (disk.root() / "no" / "f.png").string());
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(disk.root() / "no"));
    EXPECT_FALSE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace qa::font
