// Building the item tree from the scene document: classes, placement in the tree, attributes,
// onLoad order, encodings and refusals.
#include <gtest/gtest.h>

#include "scene/ImageItem.h"
#include "scene/SceneLoader.h"
#include "scene/SceneState.h"
#include "scene/TextItem.h"
#include "support/ScriptRecorder.h"
#include "support/TempDisk.h"

namespace qa::scene {
namespace {

using test::ScriptRecorder;
using test::TempDisk;

std::vector<std::string> rootNames(const SceneState& scene) {
    std::vector<std::string> names;
    for (ImageItem* i : scene.rootItems) names.push_back(i->name);
    return names;
}

TEST(SceneLoaderTree, RootsInDocumentOrderChildrenAtTheFront) {
    TempDisk disk;
    ScriptRecorder rec;
    disk.writeScene(R"(<scene>
        <item name="a"><item name="a1"/><item name="a2"/></item>
        <group><item name="b"/></group>
        <item name="c"><wrap><item name="c1"/></wrap></item>
    </scene>)");
    ASSERT_TRUE(SceneLoader(rec.scene()).load());
    // An item inside a non-item element inside an item is a root item, after its own document turn.
    EXPECT_EQ(rootNames(rec.scene()), (std::vector<std::string>{"a", "b", "c", "c1"}));
    ImageItem* a = rec.scene().findItem("a");
    ASSERT_EQ(a->children.size(), 2u);
    EXPECT_EQ(a->children.front()->name, "a2");  // the last declared is topmost
    EXPECT_EQ(a->children.front()->parent, a);
    EXPECT_EQ(rec.scene().findItem("c1")->parent, nullptr);
}

TEST(SceneLoaderTree, RootElementNamedItemIsNotBuilt) {
    TempDisk disk;
    ScriptRecorder rec;
    disk.writeScene(
        R"(<item name="top"><item name="x"><item name="y"/></item><g><item name="z"/></g></item>)");
    ASSERT_TRUE(SceneLoader(rec.scene()).load());
    EXPECT_EQ(rootNames(rec.scene()), (std::vector<std::string>{"z"}));
    EXPECT_EQ(rec.scene().findItem("x"), nullptr);
}

TEST(SceneLoaderTree, FontMakesATextItemAndLaterNamesWin) {
    TempDisk disk;
    ScriptRecorder rec;
    disk.write("data/t.txt", "hello");
    disk.writeScene(R"(<s><item name="n" font="f.png" image="data/t.txt"/><item name="n" image=""/></s>)");
    ASSERT_TRUE(SceneLoader(rec.scene()).load());
    auto* first = dynamic_cast<TextItem*>(rec.scene().rootItems.front());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text.str(), "hello");
    EXPECT_EQ(first->fileName, "f.png");
    EXPECT_EQ(rec.scene().findItem("n"), rec.scene().rootItems.back());
    EXPECT_EQ(dynamic_cast<TextItem*>(rec.scene().rootItems.back()), nullptr);
}

TEST(SceneLoaderAttributes, ConversionsAndDefaults) {
    TempDisk disk;
    ScriptRecorder rec;
    disk.writeScene(R"(<s>
        <item name="a" x="12px" y="3.5e1" sx="abc" w="100" show="True"/>
        <item name="b" show="1" cx="" oy="-4"/>
        <item name="c" show=""/>
        <item name="d" show="0"/>
        <item name="t" image="data/x.txt" cx="7"/>
    </s>)");
    disk.write("data/x.txt", "text");
    ASSERT_TRUE(SceneLoader(rec.scene()).load());
    ImageItem* a = rec.scene().findItem("a");
    EXPECT_EQ(a->position.x, 12.0f);
    EXPECT_EQ(a->position.y, 35.0f);
    EXPECT_EQ(a->scale.x, 0.0f);
    EXPECT_EQ(a->scale.y, 1.0f);
    EXPECT_EQ(a->size.x, 100.0f);
    EXPECT_EQ(a->centre.x, 0.0f);  // half the picture, and there is none: w does not change it
    EXPECT_FALSE(a->visible);
    EXPECT_TRUE(rec.scene().findItem("b")->visible);
    EXPECT_EQ(rec.scene().findItem("b")->sourceOffset.y, -4.0f);
    EXPECT_TRUE(rec.scene().findItem("c")->visible);
    EXPECT_FALSE(rec.scene().findItem("d")->visible);
    ImageItem* t = rec.scene().findItem("t");
    EXPECT_EQ(t->text.str(), "text");
    EXPECT_EQ(t->size.x, 400.0f);
    EXPECT_EQ(t->size.y, 300.0f);
    EXPECT_EQ(t->centre.x, 7.0f);
    EXPECT_EQ(t->centre.y, 150.0f);
}

TEST(SceneLoaderOnLoad, ChildrenFirstSubtreeBeforeNextRootAndUnhandledClimbs) {
    TempDisk disk;
    ScriptRecorder rec;
    disk.writeScene(R"(<s>
        <item name="p" onLoad="Rec p"><item name="k1" onLoad="Rec +k1"/><item name="k2"/></item>
        <item name="q" onLoad="Rec +q"/>
    </s>)");
    ASSERT_TRUE(SceneLoader(rec.scene()).load());
    // k1 handles its own; k2 has none, so its onLoad climbs to p; then p's own turn; then q.
    EXPECT_EQ(rec.joined(), "+k1,p,p,+q");
}

TEST(SceneLoaderEncodings, Utf16AndLatin1AndWindows1252ReachScriptsAsUtf8) {
    ScriptRecorder rec;
    const std::string name = "caf\xC3\xA9";  // "café" in UTF-8
    {
        TempDisk disk;
        std::string xml = "<s><item name=\"caf\xE9\" onLoad=\"Rec +\x80\"/></s>";
        disk.writeScene("<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + xml);
        ASSERT_TRUE(SceneLoader(rec.scene()).load());
        EXPECT_NE(rec.scene().findItem(name), nullptr);
        EXPECT_EQ(rec.calls().back().argument, "+\xE2\x82\xAC");  // the euro sign
        rec.scene().reset();
    }
    {
        TempDisk disk;
        disk.writeScene("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><s><item name=\"caf\xE9\"/></s>");
        ASSERT_TRUE(SceneLoader(rec.scene()).load());
        EXPECT_NE(rec.scene().findItem(name), nullptr);
        rec.scene().reset();
    }
    for (bool bom : {true, false}) {
        TempDisk disk;
        std::u16string text = u"<s><item name=\"caf\u00e9\"/></s>";
        std::string bytes = bom ? std::string("\xFF\xFE", 2) : std::string();
        for (char16_t c : text) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
        disk.writeScene(bytes);
        ASSERT_TRUE(SceneLoader(rec.scene()).load()) << "bom " << bom;
        EXPECT_NE(rec.scene().findItem(name), nullptr);
        rec.scene().reset();
    }
}

TEST(SceneLoaderFailures, MissingMalformedAndRootless) {
    ScriptRecorder rec;
    {
        TempDisk disk;
        std::filesystem::remove(disk.root() / "data/QuorvArt.XQD");
        EXPECT_FALSE(SceneLoader(rec.scene()).load());
    }
    {
        TempDisk disk;
        disk.writeScene("<s>\n  <item name='a'>\n</s>");
        SceneLoader loader(rec.scene());
        EXPECT_FALSE(loader.load());
        EXPECT_EQ(loader.errorLine(), 3);
        EXPECT_FALSE(loader.errorReason().empty());
        EXPECT_TRUE(rec.scene().rootItems.empty());
    }
    {
        TempDisk disk;
        disk.writeScene("");
        EXPECT_FALSE(SceneLoader(rec.scene()).load());
    }
    {
        TempDisk disk;
        disk.writeScene("<s><other/></s>");
        EXPECT_TRUE(SceneLoader(rec.scene()).load());
        EXPECT_TRUE(rec.scene().rootItems.empty());
    }
}

TEST(SceneLoaderFailures, DocumentsThatAreNotWellFormedBuildNothing) {
    ScriptRecorder rec;
    const char* const documents[] = {
        "<s>\n<item name=\"a\" name=\"b\" onLoad=\"Rec +a\"/></s>",
        "<s><item name=\"a\" onLoad=\"Rec +a\"/></s>\n<t><item name=\"b\"/></t>",
        "<s>\n<item name=\"a\" onLoad=\"Rec +a<b\"/></s>",
        "<s><item name=\"a\" onLoad=\"Rec +a\"/></s>\ntrailing words",
    };
    for (const char* document : documents) {
        TempDisk disk;
        disk.writeScene(document);
        SceneLoader loader(rec.scene());
        EXPECT_FALSE(loader.load()) << document;
        EXPECT_EQ(loader.errorLine(), 2) << document;
        EXPECT_GT(loader.errorColumn(), 0) << document;
        EXPECT_FALSE(loader.errorReason().empty()) << document;
        EXPECT_TRUE(rec.scene().rootItems.empty()) << document;
        EXPECT_TRUE(rec.calls().empty()) << document;  // no onLoad ran
    }
}

TEST(SceneLoaderEntities, DeclaredEntitiesExpandInsideScripts) {
    TempDisk disk;
    ScriptRecorder rec;
    disk.writeScene(R"(<?xml version="1.0"?>
<!DOCTYPE scene [
  <!ENTITY who "menu">
  <!ENTITY both "Rec +&who;; Rec +&who;2">
]>
<scene><item name="&who;" onLoad="&both;; Rec +&#65;&amp;&lt;"/></scene>)");
    ASSERT_TRUE(SceneLoader(rec.scene()).load());
    EXPECT_NE(rec.scene().findItem("menu"), nullptr);
    // The entity's ";" is part of its expansion: three statements, none holding "&who".
    EXPECT_EQ(rec.joined(), "+menu,+menu2,+A&<");
}

TEST(SceneLoaderFailures, ThousandsOfNestedItemsAreRefusedNotACrash) {
    TempDisk disk;
    ScriptRecorder rec;
    std::string xml = "<s>";
    for (int i = 0; i < 5000; ++i) xml += "<item>";
    for (int i = 0; i < 5000; ++i) xml += "</item>";
    xml += "</s>";
    disk.writeScene(xml);
    EXPECT_FALSE(SceneLoader(rec.scene()).load());
    EXPECT_TRUE(rec.scene().rootItems.empty());
    // Deep nesting of other elements is harmless.
    std::string deep = "<s>";
    for (int i = 0; i < 20000; ++i) deep += "<g>";
    deep += "<item name='x'/>";
    for (int i = 0; i < 20000; ++i) deep += "</g>";
    deep += "</s>";
    disk.writeScene(deep);
    EXPECT_TRUE(SceneLoader(rec.scene()).load());
    EXPECT_NE(rec.scene().findItem("x"), nullptr);
}

}  // namespace
}  // namespace qa::scene
