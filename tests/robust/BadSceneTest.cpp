// Disks whose scene cannot be read (no data folder, an empty or non-XML document), documents in
// other encodings, and a text file far too big: the runner shows the scene message and ends
// normally, or plays the scene; it never crashes or hangs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "scene/ImageItem.h"
#include "scene/PictureCache.h"
#include "scene/SceneState.h"
#include "scene/TextItem.h"
#include "support/DrawingScene.h"
#include "support/RunnerProcess.h"
#include "support/TempDisk.h"

namespace qa::scene {
namespace {

using test::TempDisk;

const char* const kSceneMessage = "message box \"Mag data corrupted\" (QuorvArts error)";

struct Played {
    test::RunResult run;
    std::vector<std::string> trace;
};

Played play(const TempDisk& disk, int frames = 5) {
    const std::string trace = test::tempPath(".jsonl");
    Played p;
    p.run = test::runRunner(
        {disk.root().string(), "--frames", std::to_string(frames), "--sound", "off", "--trace", trace});
    p.trace = test::readLines(trace);
    std::filesystem::remove(trace);
    return p;
}

std::string utf16(const std::u16string& text, bool bigEndian, bool mark) {
    std::string out;
    auto put = [&](char16_t c) {
        const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    };
    if (mark) put(u'\uFEFF');
    for (char16_t c : text) put(c);
    return out;
}

TEST(BadScene, NoDataFolderShowsTheSceneMessageSaysWhyAndFails) {
    TempDisk disk;
    std::filesystem::remove_all(disk.root() / "data");
    const Played p = play(disk);
    EXPECT_EQ(p.run.exitCode, 1) << p.run.output;
    EXPECT_NE(p.run.output.find(kSceneMessage), std::string::npos) << p.run.output;
    EXPECT_NE(p.run.output.find("data/QuorvArt.XQD: error: the file cannot be read"), std::string::npos)
        << p.run.output;
    // The main loop is skipped: no event of any frame.
    EXPECT_TRUE(test::grep(p.trace, {"\"type\":\"event\""}).empty());
}

TEST(BadScene, EmptyAndNonXmlDocumentsShowTheSceneMessage) {
    const std::string documents[] = {
        "",
        std::string("\0\0\0\0", 4),
        "\xEF\xBB\xBF",  // a byte-order mark and nothing else
        "just some words, no markup",
        std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16),
        "<?xml version=\"1.0\"?>",
        "<s><item name='a'></s>",
        "<s><item name='a' x=1/></s>",
        "<s>\n<item name='unclosed'",
        std::string(100000, '<'),
    };
    for (const std::string& document : documents) {
        TempDisk disk;
        disk.writeScene(document);
        const Played p = play(disk);
        EXPECT_EQ(p.run.exitCode, 1) << document.substr(0, 40) << "\n" << p.run.output;
        EXPECT_NE(p.run.output.find(kSceneMessage), std::string::npos) << document.substr(0, 40);
    }
}

TEST(BadScene, NotWellFormedDocumentsShowTheSceneMessageAndTheCheckSaysWhere) {
    struct Case {
        std::string document;
        std::string report;
    };
    const Case cases[] = {
        {"<s>\n  <item name=\"a\" name=\"b\"/>\n</s>", "data/QuorvArt.XQD:2:18: error: duplicate attribute"},
        {"<s><item name='a'/></s>\n<t/>", "data/QuorvArt.XQD:2:1: error: junk after document element"},
        {"<s>\n<item onLoad=\"Show a<b\"/></s>",
         "data/QuorvArt.XQD:2:21: error: not well-formed (invalid token)"},
        {"<s/>\ntext", "data/QuorvArt.XQD:2:1: error: junk after document element"},
    };
    for (const Case& c : cases) {
        TempDisk disk;
        disk.writeScene(c.document);
        const Played p = play(disk);
        EXPECT_NE(p.run.output.find(kSceneMessage), std::string::npos) << c.document;
        const test::RunResult check = test::runRunner({disk.root().string(), "--check"});
        EXPECT_EQ(check.exitCode, 1);
        EXPECT_NE(check.output.find(c.report + "\n"), std::string::npos) << check.output;
    }
}

TEST(BadScene, AnExternalEntityIsNeverReadAndBillionLaughsIsRefused) {
    {
        TempDisk disk;
        // Read, this document type would give the item a script.
        disk.write("secret.dtd", "<!ATTLIST item onLoad CDATA \"Hide a\">");
        const std::string secret = (disk.root() / "secret.dtd").string();
        disk.writeScene("<!DOCTYPE s SYSTEM \"" + secret + "\" [<!ENTITY % p SYSTEM \"" + secret +
                        "\"> %p; <!ENTITY ext SYSTEM \"" + secret +
                        "\">]><s><item name='a'>&ext;</item></s>");
        const Played p = play(disk);
        EXPECT_EQ(p.run.output.find(kSceneMessage), std::string::npos) << p.run.output;
        EXPECT_EQ(test::grep(p.trace, {"\"event\":7", "\"item\":\"a\""}).size(), 1u);
        EXPECT_TRUE(test::grep(p.trace, {"Hide"}).empty());
        EXPECT_TRUE(test::grep(p.trace, {"Hide"}).empty());
    }
    {
        TempDisk disk;
        std::string doc = "<!DOCTYPE s [<!ENTITY l0 \"lol\">";
        for (int i = 1; i < 10; ++i) {
            doc += "<!ENTITY l" + std::to_string(i) + " \"";
            for (int k = 0; k < 10; ++k) doc += "&l" + std::to_string(i - 1) + ";";
            doc += "\">";
        }
        disk.writeScene(doc + "]>\n<s><item onLoad=\"&l9;\"/></s>");
        const Played p = play(disk);
        EXPECT_NE(p.run.output.find(kSceneMessage), std::string::npos);
        const test::RunResult check = test::runRunner({disk.root().string(), "--check"});
        EXPECT_NE(check.output.find("data/QuorvArt.XQD:2:"), std::string::npos) << check.output;
        EXPECT_NE(check.output.find("amplification"), std::string::npos) << check.output;
    }
}

TEST(BadScene, Utf16DocumentsLoadAndNamesArriveAsUtf8) {
    const std::u16string scene = u"<s><item name=\"caf\u00e9 \u20ac\" onLoad=\"Hide nothing\"/></s>";
    for (bool bigEndian : {false, true}) {
        for (bool mark : {true, false}) {
            TempDisk disk;
            disk.writeScene(utf16(scene, bigEndian, mark));
            const Played p = play(disk);
            EXPECT_EQ(p.run.exitCode, 0);
            EXPECT_EQ(p.run.output.find(kSceneMessage), std::string::npos) << bigEndian << mark;
            EXPECT_EQ(test::grep(p.trace, {"\"event\":7", "\"item\":\"caf\xC3\xA9 \xE2\x82\xAC\""}).size(),
                      1u)
                << bigEndian << mark;
        }
    }
    // Cut in the middle of a character: the document is malformed.
    TempDisk disk;
    const std::string whole = utf16(scene, false, true);
    disk.writeScene(whole.substr(0, whole.size() / 2 + 1));
    const Played p = play(disk);
    EXPECT_EQ(p.run.exitCode, 1);
    EXPECT_NE(p.run.output.find(kSceneMessage), std::string::npos);
}

TEST(BadScene, Latin1DocumentsLoad) {
    {
        // Declared: converted, so the name arrives in UTF-8.
        TempDisk disk;
        disk.writeScene(
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><s><item name=\"caf\xE9\" onLoad=\"Hide "
            "x\"/></s>");
        const Played p = play(disk);
        EXPECT_EQ(p.run.exitCode, 0);
        EXPECT_EQ(test::grep(p.trace, {"\"event\":7", "\"item\":\"caf\xC3\xA9\""}).size(), 1u);
    }
    {
        // Undeclared: read as it stands; the name keeps its Latin-1 byte, which the trace writes as
        // its character code so the line stays valid JSON.
        TempDisk disk;
        disk.writeScene("<s><item name=\"caf\xE9\" onLoad=\"Hide x\"/></s>");
        const Played p = play(disk);
        EXPECT_EQ(p.run.exitCode, 0);
        EXPECT_EQ(p.run.output.find(kSceneMessage), std::string::npos);
        EXPECT_EQ(test::grep(p.trace, {"\"event\":7", "\"item\":\"caf\\u00e9\""}).size(), 1u);
    }
}

TEST(BadScene, HundredMegabyteTextIsReadOnlyUpToTheTextLimit) {
    test::DrawingScene scene;
    {
        std::ofstream out(scene.disk().root() / "huge.txt", std::ios::binary);
        const std::string line = "The same line of text, over and over - until the file is enormous.\r\n";
        std::string block;
        while (block.size() < (1u << 20)) block += line;
        for (int i = 0; i < 100; ++i) out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    ASSERT_GT(std::filesystem::file_size(scene.disk().root() / "huge.txt"), 100u << 20);
    scene.put("font.png", test::PictureMaker::fontSheet(8, 8, [](int c) { return c == ' ' ? 0 : 6; }));
    auto* text = scene.scene().make<TextItem>("font.png", "huge.txt");
    auto* plain = scene.scene().make<ImageItem>("huge.txt");  // the system font
    scene.scene().rootItems.push_back(text);
    scene.scene().rootItems.push_back(plain);
    EXPECT_EQ(text->text.size(), PictureCache::kMaxTextBytes);
    EXPECT_EQ(plain->text.size(), PictureCache::kMaxTextBytes);
    EXPECT_EQ(text->text.str().substr(0, 9), "The same ");
    text->size = {400, 300, 0};
    text->sourceOffset = {0, 1e6f, 0};  // scrolled far down
    scene.frame();
    scene.frame();
    EXPECT_GT(text->lines.size(), 100000u);
}

}  // namespace
}  // namespace qa::scene
