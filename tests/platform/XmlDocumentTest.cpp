// The document reader: well-formedness errors with their place, entity expansion and its bounds,
// nothing read from outside the document, positions of elements and attributes, and encodings.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "platform/XmlDocument.h"
#include "support/TempDisk.h"

namespace qa::platform {
namespace {

std::string attr(const XmlNode& n, const char* name) {
    std::string v;
    return n.attribute(name, v) ? v : "(absent)";
}

struct Refused {
    bool loaded;
    XmlDocument::Error error;
};

Refused parse(const std::string& bytes) {
    XmlDocument doc;
    bool ok = doc.loadBytes(bytes);
    return {ok, doc.error()};
}

TEST(XmlDocumentWellFormedness, EveryErrorFailsWithLineColumnAndReason) {
    struct Case {
        const char* what;
        std::string text;
        int line, column;
    };
    const Case cases[] = {
        {"duplicated attribute", "<s>\n  <item name=\"a\" name=\"b\"/>\n</s>", 2, 18},
        {"two root elements", "<s><item name='a'/></s>\n<t><item name='b'/></t>", 2, 1},
        {"raw < in an attribute value", "<s>\n<item onLoad=\"Show a<b\"/></s>", 2, 21},
        {"text after the root element", "<s/>\nmore words", 2, 1},
        {"mismatched end tag", "<s>\n  <item name='a'>\n</s>", 3, 3},
        {"undeclared entity (placed at its start tag)", "<s><item name='&nope;'/></s>", 1, 4},
        {"unquoted value", "<s><item x=1/></s>", 1, 12},
        {"control character", std::string("<s>\x01</s>"), 1, 4},
        {"no element at all", "", 1, 1},
    };
    for (const Case& c : cases) {
        Refused r = parse(c.text);
        EXPECT_FALSE(r.loaded) << c.what;
        EXPECT_EQ(r.error.line, c.line) << c.what << ": " << r.error.reason;
        EXPECT_EQ(r.error.column, c.column) << c.what << ": " << r.error.reason;
        EXPECT_FALSE(r.error.reason.empty()) << c.what;
    }
    EXPECT_EQ(parse("<s a='1' a='2'/>").error.reason, "duplicate attribute");
    EXPECT_EQ(parse("<s/><t/>").error.reason, "junk after document element");
}

TEST(XmlDocumentWellFormedness, TheInnermostOpenElementIsNamed) {
    Refused r = parse("<s>\n <item name='a'>\n  <item name='b'>\n   <g>\n  </item>\n</s>");
    EXPECT_FALSE(r.loaded);
    EXPECT_EQ(r.error.line, 5);
    EXPECT_EQ(r.error.openElementLine, 4);  // <g> is left open
    EXPECT_EQ(parse("<s>\n<item>\n").error.openElementLine, 2);
    EXPECT_EQ(parse("<s/>junk").error.openElementLine, 0);
}

TEST(XmlDocumentEntities, InternalEntitiesAndCharacterReferencesExpandAlsoNested) {
    XmlDocument doc;
    ASSERT_TRUE(doc.loadBytes(R"(<!DOCTYPE s [
        <!ENTITY who "menu">
        <!ENTITY show "Show &who;; Hide &#120;">
        <!ENTITY deeper "&show;&#x21;">
    ]>
    <s><item name="&who;" onLoad="&deeper;" x="&#49;&#x32;"/></s>)"))
        << doc.error().reason;
    XmlNode item = doc.documentElement().firstChild();
    EXPECT_EQ(attr(item, "name"), "menu");
    EXPECT_EQ(attr(item, "onLoad"), "Show menu; Hide x!");
    EXPECT_EQ(attr(item, "x"), "12");
}

TEST(XmlDocumentEntities, MarkupFromAnEntityBecomesElements) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.loadBytes("<!DOCTYPE s [<!ENTITY two \"<item name='a'/><item name='b'/>\">]>\n<s>\n&two;</s>"));
    std::vector<XmlNode> items = doc.documentElement().descendantsNamed("item");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(attr(items[1], "name"), "b");
    // Their text is not in the document: they are placed at the reference.
    EXPECT_EQ(items[1].line(), 3);
    int line = 0, column = 0;
    EXPECT_TRUE(items[1].attributePosition("name", line, column));
    EXPECT_EQ(line, 3);
}

TEST(XmlDocumentEntities, NothingOutsideTheDocumentIsRead) {
    test::TempDisk disk;
    disk.write("secret.txt", "SECRET-CONTENT");
    disk.write("ext.dtd", "<!ENTITY leak \"SECRET-DTD\"><!ATTLIST item name CDATA \"SECRET-DEFAULT\">");
    const std::string secret = (disk.root() / "secret.txt").string();
    const std::string dtd = (disk.root() / "ext.dtd").string();
    // In text: the reference is skipped, the file is not opened.
    {
        XmlDocument doc;
        ASSERT_TRUE(
            doc.loadBytes("<!DOCTYPE s [<!ENTITY ext SYSTEM \"" + secret + "\">]><s>&ext;<item/></s>"))
            << doc.error().reason;
        EXPECT_EQ(attr(doc.documentElement().firstChild(), "name"), "(absent)");
    }
    {
        XmlDocument doc;
        ASSERT_TRUE(doc.loadBytes("<!DOCTYPE s [<!ENTITY ext SYSTEM \"file://" + secret +
                                  "\">]><s><item>&ext;</item></s>"));
    }
    // In an attribute value an external entity is an error, not a read.
    {
        Refused r =
            parse("<!DOCTYPE s [<!ENTITY ext SYSTEM \"" + secret + "\">]><s><item name=\"&ext;\"/></s>");
        EXPECT_FALSE(r.loaded);
        EXPECT_EQ(r.error.reason.find("SECRET"), std::string::npos);
    }
    // An external document type (and parameter entities naming files) is not read either: its
    // attribute default does not appear.
    {
        XmlDocument doc;
        ASSERT_TRUE(doc.loadBytes("<!DOCTYPE s SYSTEM \"" + dtd + "\"><s><item/></s>"));
        EXPECT_EQ(attr(doc.documentElement().firstChild(), "name"), "(absent)");
        XmlDocument doc2;
        ASSERT_TRUE(doc2.loadBytes("<!DOCTYPE s [<!ENTITY % p SYSTEM \"" + dtd + "\"> %p;]><s><item/></s>"));
        EXPECT_EQ(attr(doc2.documentElement().firstChild(), "name"), "(absent)");
    }
}

TEST(XmlDocumentEntities, BillionLaughsIsRefusedQuicklyWithAReason) {
    std::string doc = "<!DOCTYPE s [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
        doc += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) doc += "&l" + std::to_string(i - 1) + ";";
        doc += "\">";
    }
    doc += "]>";
    for (const char* body : {"<s><item name=\"&l9;\"/></s>", "<s>&l9;</s>"}) {
        const auto start = std::chrono::steady_clock::now();
        Refused r = parse(doc + body);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_FALSE(r.loaded) << body;
        EXPECT_NE(r.error.reason.find("amplification"), std::string::npos) << r.error.reason;
        EXPECT_LT(seconds, 5.0);
    }
    // A modest use of entities is well below the bound.
    std::string fine = "<!DOCTYPE s [<!ENTITY w \"" + std::string(1000, 'w') + "\">]><s>";
    for (int i = 0; i < 50; ++i) fine += "<item name='&w;'/>";
    EXPECT_TRUE(parse(fine + "</s>").loaded);
}

TEST(XmlDocumentEntities, EntitiesNestedThousandsDeepAreRefusedNotACrash) {
    const int n = 50000;
    std::string doc = "<!DOCTYPE s [<!ENTITY e0 \"<item/>\">\n";
    for (int i = 1; i < n; ++i)
        doc += "<!ENTITY e" + std::to_string(i) + " \"&e" + std::to_string(i - 1) + ";\">\n";
    doc += "]><s>&e" + std::to_string(n - 1) + ";</s>";
    Refused r = parse(doc);
    EXPECT_FALSE(r.loaded);
    EXPECT_NE(r.error.reason.find("1000 entities"), std::string::npos) << r.error.reason;
    EXPECT_EQ(r.error.line, XmlDocument::kMaxEntityDeclarations + 1);
}

TEST(XmlDocumentPositions, ElementsAndAttributesKnowWhereTheyStart) {
    XmlDocument doc;
    ASSERT_TRUE(
        doc.loadBytes("<s>\n  <item name=\"a\"\n\tx='1'  y = \"2\"><item\r\n   w='5'/></item>\n</s>"));
    XmlNode item = doc.documentElement().firstChild();
    EXPECT_EQ(item.line(), 2);
    EXPECT_EQ(item.column(), 3);
    int line = 0, column = 0;
    ASSERT_TRUE(item.attributePosition("name", line, column));
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(2, 9));
    ASSERT_TRUE(item.attributePosition("x", line, column));
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(3, 2));
    ASSERT_TRUE(item.attributePosition("y", line, column));
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(3, 9));
    EXPECT_FALSE(item.attributePosition("z", line, column));
    XmlNode child = item.firstChild();
    EXPECT_EQ(child.line(), 3);
    ASSERT_TRUE(child.attributePosition("w", line, column));
    EXPECT_EQ(std::make_pair(line, column), std::make_pair(4, 4));  // CR LF is one line end
}

TEST(XmlDocumentPositions, CountedInCharactersInEveryEncoding) {
    // "é" is two bytes in UTF-8, one character.
    XmlDocument doc;
    ASSERT_TRUE(doc.loadBytes("<s>\xC3\xA9\xC3\xA9<item a='\xC3\xA9' b='x'/></s>"));
    XmlNode item = doc.documentElement().firstChild();
    int line = 0, column = 0;
    EXPECT_EQ(item.column(), 6);
    ASSERT_TRUE(item.attributePosition("b", line, column));
    EXPECT_EQ(column, 18);
    // The same in UTF-16 with a surrogate pair before the item.
    std::u16string text = u"<s>\U0001F600<item a='\u00e9' b='x'/></s>";
    std::string bytes;
    for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    XmlDocument doc16;
    ASSERT_TRUE(doc16.loadBytes(bytes)) << doc16.error().reason;
    item = doc16.documentElement().firstChild();
    EXPECT_EQ(item.column(), 5);
    ASSERT_TRUE(item.attributePosition("b", line, column));
    EXPECT_EQ(column, 17);
}

TEST(XmlDocumentPositions, ValuesKnowWhereEachOfTheirBytesIsWritten) {
    const std::string text =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE s [<!ENTITY e \"<item x='1'/>\">]>\n"
        "<s>\n  <item  name = 'a' onSubmit=\"Hide&amp;b;Hide c&#xE9;&#233;d\" t='p\r\nq\nr' "
        "u='\xC3\xA9\xC3\xA9z'/>&e;\n</s>\n";
    XmlDocument doc;
    ASSERT_TRUE(doc.loadBytes(text));
    EXPECT_FALSE(doc.wideText());
    const XmlNode item = doc.documentElement().firstChild();
    EXPECT_TRUE(item.written());
    int line = 0, column = 0;
    const auto at = [&](const char* attribute, std::size_t index) {
        EXPECT_TRUE(item.valuePosition(attribute, index, line, column)) << attribute;
        return std::to_string(line) + ":" + std::to_string(column);
    };
    EXPECT_EQ(at("name", 0), "4:18");
    // The parsed value is "Hide&b;Hide cééd": "&amp;" is one byte of it, each "é" two.
    EXPECT_EQ(at("onSubmit", 0), "4:31");
    EXPECT_EQ(at("onSubmit", 4), "4:35");
    EXPECT_EQ(at("onSubmit", 7), "4:42");
    EXPECT_EQ(at("onSubmit", 13), "4:48");
    EXPECT_EQ(at("onSubmit", 15), "4:54");
    EXPECT_EQ(at("onSubmit", 17), "4:60");
    // CR LF is one space of the value; a line feed starts a line.
    EXPECT_EQ(at("t", 2), "5:1");
    EXPECT_EQ(at("t", 4), "6:1");
    // Columns count characters.
    EXPECT_EQ(at("u", 4), "6:9");
    EXPECT_FALSE(item.valuePosition("v", 0, line, column));
    // The names written, in order; an element from an entity is not written in the text.
    ASSERT_EQ(item.attributeCount(), 4);
    EXPECT_EQ(item.attributeName(3), "u");
    const XmlNode fromEntity = item.nextSibling();
    EXPECT_FALSE(fromEntity.written());
    EXPECT_FALSE(fromEntity.valuePosition("x", 0, line, column));
}

TEST(XmlDocumentPositions, ManyAttributesAreFoundByName) {
    std::string text = "<s";
    for (int i = 0; i < 40000; ++i) text += " a" + std::to_string(i) + "='" + std::to_string(i) + "'";
    text += "/>";
    XmlDocument doc;
    ASSERT_TRUE(doc.loadBytes(text));
    const XmlNode s = doc.documentElement();
    ASSERT_EQ(s.attributeCount(), 40000);
    int line = 0, column = 0;
    for (int i = 0; i < 40000; ++i) {
        const std::string name = "a" + std::to_string(i);
        ASSERT_EQ(attr(s, name.c_str()), std::to_string(i));
        ASSERT_TRUE(s.valuePosition(name.c_str(), 0, line, column));
    }
    EXPECT_EQ(column, static_cast<int>(text.size()) - 7);
}

// The element an author most likely left open, for a document that does not parse.
std::string blamed(const std::string& text) {
    XmlDocument doc;
    EXPECT_FALSE(doc.loadBytes(text));
    const XmlDocument::Error& e = doc.error();
    if (!e.leftOpenKnown) return "";
    return e.leftOpen.name + "@" + std::to_string(e.leftOpen.line) + ":" + std::to_string(e.leftOpen.column) +
           (e.leftOpen.named ? " " + e.leftOpen.nameAsWritten : "");
}

TEST(XmlDocumentWellFormedness, TheElementLeftOpenIsTold) {
    // An end tag for an element further out.
    EXPECT_EQ(blamed("<s>\n<a>\n<b>\n</a>\n</s>"), "b@3:1");
    // An element written without its "/", whose end tag then closes it though indented for its parent.
    EXPECT_EQ(blamed("<s>\n  <item>\n    <item name=\"x&amp;\">\n  </item>\n</s>\n"), "item@3:5 x&amp;");
    // The text ends with elements open: the innermost.
    EXPECT_EQ(blamed("<s>\n<a>\n<b/>\n"), "a@2:1");
    // Errors of another kind blame no element: a value without quotes, a stray end tag.
    EXPECT_EQ(blamed("<s>\n<a x=1/>\n</s>"), "");
    EXPECT_EQ(blamed("<s>\n<a/></a>\n</s>"), "");
    // Tens of thousands of elements open, each end tag indented like none of them: told at once.
    std::string deep;
    for (int i = 0; i < 40000; ++i) deep += "\n<g>";
    for (int i = 0; i < 39999; ++i) deep += "\n </g>";
    EXPECT_EQ(blamed(deep), "g@2:1");
}

TEST(XmlDocumentEncodings, EachReadsAsItDeclaresAndUndeclaredBytesAreKept) {
    const std::string cafe = "caf\xC3\xA9";
    struct Case {
        const char* what;
        std::string bytes;
        std::string name;
    };
    auto utf32 = [](const std::u32string& s, bool big, bool mark) {
        std::string out;
        std::u32string all = mark ? U"\uFEFF" + s : s;
        for (char32_t c : all) {
            char b[4] = {static_cast<char>(c >> 24), static_cast<char>(c >> 16), static_cast<char>(c >> 8),
                         static_cast<char>(c)};
            if (!big) std::swap(b[0], b[3]), std::swap(b[1], b[2]);
            out.append(b, 4);
        }
        return out;
    };
    const Case cases[] = {
        {"UTF-8", "<s><item name='caf\xC3\xA9'/></s>", cafe},
        {"UTF-8 with mark", "\xEF\xBB\xBF<s><item name='caf\xC3\xA9'/></s>", cafe},
        {"ISO-8859-1", "<?xml version='1.0' encoding='ISO-8859-1'?><s><item name='caf\xE9'/></s>", cafe},
        {"latin1", "<?xml version='1.0' encoding='latin1'?><s><item name='caf\xE9'/></s>", cafe},
        {"windows-1252", "<?xml version='1.0' encoding='Windows-1252'?><s><item name='\x80\x81'/></s>",
         "\xE2\x82\xAC\xEF\xBF\xBD"},  // the euro sign; an unassigned byte becomes U+FFFD
        {"undeclared Western bytes", "<s><item name='caf\xE9 \x80'/></s>", "caf\xE9 \x80"},
        {"unknown encoding name, read as UTF-8",
         "<?xml version='1.0' encoding='x-mac'?><s><item name='caf\xC3\xA9'/></s>", cafe},
        {"UTF-8 mixed with stray bytes", "<s><item name='\xC3\xA9\xE9&#xE9;'/></s>", "\xC3\xA9\xE9\xC3\xA9"},
        {"UTF-32 big-endian with mark", utf32(U"<s><item name='caf\u00e9'/></s>", true, true), cafe},
        {"UTF-32 little-endian", utf32(U"<s><item name='caf\u00e9'/></s>", false, false), cafe},
    };
    for (const Case& c : cases) {
        XmlDocument doc;
        ASSERT_TRUE(doc.loadBytes(c.bytes)) << c.what << ": " << doc.error().reason;
        EXPECT_EQ(attr(doc.documentElement().firstChild(), "name"), c.name) << c.what;
    }
    // A stray byte is kept in values but cannot make a name.
    EXPECT_FALSE(parse("<s><caf\xE9/></s>").loaded);
}

TEST(XmlDocumentTree, ChildrenSiblingsParentsAndDescendantsInDocumentOrder) {
    XmlDocument doc;
    ASSERT_TRUE(doc.loadBytes("<s><item n='1'><g><item n='2'/></g><item n='3'/></item><item n='4'/></s>"));
    XmlNode root = doc.documentElement();
    EXPECT_EQ(root.name(), "s");
    EXPECT_FALSE(root.parent().valid());
    std::vector<XmlNode> all = root.descendantsNamed("item");
    ASSERT_EQ(all.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(attr(all[static_cast<std::size_t>(i)], "n"), std::to_string(i + 1));
    std::vector<XmlNode> under = all[0].descendantsNamed("item");
    ASSERT_EQ(under.size(), 2u);
    EXPECT_EQ(attr(under[1], "n"), "3");
    EXPECT_EQ(all[1].parent().name(), "g");
    EXPECT_EQ(all[0].firstChild().nextSibling(), all[2]);
    EXPECT_FALSE(all[2].nextSibling().valid());
    EXPECT_TRUE(all[3].descendantsNamed("item").empty());
}

TEST(XmlDocumentTree, UnreadableFileHasNoPosition) {
    XmlDocument doc;
    EXPECT_FALSE(doc.load("/nonexistent/folder/doc.xml"));
    EXPECT_EQ(doc.error().line, 0);
    EXPECT_FALSE(doc.documentElement().valid());
}

}  // namespace
}  // namespace qa::platform
