// Characters of text files without a glyph, and files in neither encoding, found at their place.
#include <gtest/gtest.h>

#include "check/TextChecks.h"

namespace qa::check {
namespace {

std::vector<std::string> check(const std::string& bytes, const std::bitset<256>* inked = nullptr) {
    FindingReport report;
    TextChecks::check("data\\t.txt", bytes, false, inked, "data\\font.png", report);
    std::vector<std::string> lines;
    for (const Finding& f : report.findings()) lines.push_back(f.text());
    return lines;
}

TEST(TextChecks, FindsCharactersWithoutAGlyphWhereTheyAre) {
    using Lines = std::vector<std::string>;
    // UTF-8: characters beyond the code page, placed by line (any line end) and character.
    EXPECT_EQ(
        check("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9\r\nnext \xE2\x86\x92\rlast \xF0\x9F\x98\x80\n"),
        (Lines{"data/t.txt:2:6: warning: \"\xE2\x86\x92\" (U+2192) has no glyph: texts are shown in the 256 "
               "Windows-1252 characters, so it shows as \"?\"",
               "data/t.txt:3:6: warning: \"\xF0\x9F\x98\x80\" (U+1F600) has no glyph: texts are shown in the "
               "256 "
               "Windows-1252 characters, so it shows as \"?\""}));
    // Nothing to say about ASCII, Windows-1252, or UTF-8 within the code page.
    EXPECT_EQ(check("plain\n"), Lines{});
    EXPECT_EQ(check("caf\xE9\n"), Lines{});
    EXPECT_EQ(check("caf\xC3\xA9 \xE2\x82\xAC\n"), Lines{});
    // A sheet's empty cells, in either encoding; blanks need no ink.
    std::bitset<256> inked;
    inked.set();
    inked[0xE9] = false;
    inked[' '] = false;
    EXPECT_EQ(check("caf\xC3\xA9 \xC3\xA9t\xC3\xA9\n", &inked),
              Lines{"data/t.txt:1:4: warning: \"\xC3\xA9\" (3 times) has no glyph in the font sheet "
                    "\"data\\font.png\", so it shows as a gap"});
    EXPECT_EQ(check("x\n caf\xE9\n", &inked).size(), 1u);
    EXPECT_EQ(check("x\n caf\xE9\n", &inked)[0].substr(0, 16), "data/t.txt:2:5: ");
    // Many: the first few, then a count of the rest.
    const Lines many =
        check("\xE2\x86\x90\xE2\x86\x91\xE2\x86\x92\xE2\x86\x93\xE2\x86\x94\xE2\x86\x95\xE2\x86\x96");
    ASSERT_EQ(many.size(), 6u);
    EXPECT_EQ(many[5],
              "data/t.txt:1:6: warning: 2 more characters of text file \"data\\t.txt\" have no glyph");
}

TEST(TextChecks, FindsFilesInNeitherEncoding) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(
        check("ok\nna\xC3\xAFve caf\xE9\n"),
        Lines{"data/t.txt:2:11: warning: text file \"data\\t.txt\" is neither UTF-8 nor Windows-1252: it "
              "holds UTF-8 characters, but byte 0xE9 here is not UTF-8, so the whole file is read as "
              "Windows-1252 and each UTF-8 character shows as two or three others; save it as UTF-8"});
    EXPECT_EQ(
        check("a\x8D"
              "b"),
        Lines{"data/t.txt:1:2: warning: text file \"data\\t.txt\" is neither UTF-8 nor Windows-1252: byte "
              "0x8D here stands for no character; save it as UTF-8"});
    EXPECT_EQ(check(std::string("\xFF\xFEh\0i\0", 6)).size(), 1u);
    EXPECT_NE(check(std::string("\xFF\xFEh\0i\0", 6))[0].find("is UTF-16"), std::string::npos);
}

}  // namespace
}  // namespace qa::check
