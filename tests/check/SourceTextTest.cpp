// Places in the document text: lines and columns, bytes of values behind entity references, and the
// element left open when the document does not parse.
#include <gtest/gtest.h>

#include "check/SourceText.h"
#include "platform/XmlDocument.h"

namespace qa::check {
namespace {

TEST(SourceText, FindsStartTagsAndTheirValuesPastCommentsAndDeclarations) {
    const std::string text =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE s [<!ENTITY e \"<item>\">]>\n<!-- <item name=\"no\"/> -->\n"
        "<s><![CDATA[<item>]]>\n  <item  name = 'a' onSubmit=\"Hide&amp;b;Hide c\"/>\n</s>\n";
    SourceText source(text);
    ASSERT_TRUE(source.usable());
    ASSERT_EQ(source.elements().size(), 2u);
    const SourceText::Element& item = source.elements()[1];
    EXPECT_EQ(item.name, "item");
    EXPECT_EQ(source.place(item.offset).line, 5);
    EXPECT_EQ(source.place(item.offset).column, 3);
    const SourceText::Attribute* script = item.attribute("onSubmit");
    ASSERT_NE(script, nullptr);
    // The parsed value is "Hide&b;Hide c": its byte 7 ("H" of the second statement) is written after
    // the five bytes of "&amp;".
    const std::size_t at = source.valueByteOffset(*script, 7);
    EXPECT_EQ(text.compare(at, 6, "Hide c"), 0);
    EXPECT_EQ(source.place(source.valueByteOffset(*item.attribute("name"), 0)).column, 18);
}

TEST(SourceText, ColumnsCountCharactersNotBytes) {
    SourceText source("<s>\n\xC3\xA9\xC3\xA9<item/></s>");
    EXPECT_EQ(source.place(source.elements()[1].offset).column, 3);
}

TEST(SourceText, TextInUtf16HasNoPlaces) {
    SourceText source(std::string("\xFF\xFE<\0s\0/\0>\0", 10));
    EXPECT_FALSE(source.usable());
    EXPECT_EQ(source.place(3).line, 0);
}

// The element the checker blames for a document that does not parse.
std::string blamed(const std::string& text) {
    platform::XmlDocument doc;
    EXPECT_FALSE(doc.loadBytes(text));
    std::size_t offset = 0;
    for (int line = 1; line < doc.error().line; ++offset)
        if (text[offset] == '\n') ++line;
    offset += static_cast<std::size_t>(doc.error().column - 1);
    SourceText source(text);
    const SourceText::Element* e = source.leftOpen(offset);
    if (!e) return "";
    return e->name + "@" + std::to_string(source.place(e->offset).line);
}

TEST(SourceText, BlamesTheElementLeftOpen) {
    // An end tag for an element further out.
    EXPECT_EQ(blamed("<s>\n<a>\n<b>\n</a>\n</s>"), "b@3");
    // An element written without its "/", whose end tag then closes it though indented for its parent.
    EXPECT_EQ(blamed("<s>\n  <item>\n    <item name=\"x\">\n  </item>\n</s>\n"), "item@3");
    // The text ends with elements open: the innermost.
    EXPECT_EQ(blamed("<s>\n<a>\n<b/>\n"), "a@2");
    // Errors of another kind blame no element: a value without quotes, a stray end tag.
    EXPECT_EQ(blamed("<s>\n<a x=1/>\n</s>"), "");
    EXPECT_EQ(blamed("<s>\n<a/></a>\n</s>"), "");
}

}  // namespace
}  // namespace qa::check
