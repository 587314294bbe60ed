// Activate, ActivateSingle, Hide and Change: lookups, fired events and the numbers Change produces.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "script/ItemCommands.h"
#include "script/ScriptRunner.h"
#include "support/ScriptRecorder.h"

namespace qa::script {
namespace {

using scene::ImageItem;
using test::ScriptRecorder;

// Items enter the name map as the loader would: a later item of the same name replaces an earlier one.
ImageItem* root(scene::SceneState& scene, const std::string& name) {
    auto* i = scene.make<ImageItem>("");
    i->name = name;
    scene.rootItems.push_back(i);
    scene.nameItem(i);
    return i;
}

ImageItem* child(ImageItem* parent, const std::string& name) {
    auto* i = parent->scene().make<ImageItem>("");
    i->name = name;
    parent->addChild(i);
    parent->scene().nameItem(i);
    return i;
}

// How often each item's scripts called Rec.
std::map<std::string, int> firings(ScriptRecorder& rec) {
    std::map<std::string, int> out;
    for (const auto& c : rec.calls()) ++out[c.item];
    return out;
}

// Tens of thousands of siblings that each hide and change the next: every lookup of a name one item
// bears is immediate, where walking the list each time would cost the square of the count.
TEST(ItemCommandsLookup, ManySiblingsFindEachOtherAtOnce) {
    ScriptRecorder rec;
    constexpr int kCount = 60000;
    std::vector<ImageItem*> items;
    for (int i = 0; i < kCount; ++i) items.push_back(root(rec.scene(), "s" + std::to_string(i)));
    for (int i = 0; i < kCount; ++i) {
        const std::string next = "s" + std::to_string((i + 1) % kCount);
        rec.engine().commands.items.hide(next, {}, items[static_cast<std::size_t>(i)]);
        rec.engine().commands.items.change(next + " x +1", {}, items[static_cast<std::size_t>(i)]);
    }
    for (ImageItem* i : items) {
        EXPECT_FALSE(i->visible);
        EXPECT_EQ(i->position.x, 1.0f);
    }
}

TEST(ItemCommandsLookup, OwnChildrenThenSiblingsThenUpToTheRoots) {
    ScriptRecorder rec;
    ImageItem* rootA = root(rec.scene(), "a");
    ImageItem* p = root(rec.scene(), "p");
    ImageItem* siblingA = child(p, "a");
    ImageItem* c = child(p, "c");
    ImageItem* childA = child(c, "a");
    ImageItem* b = child(p, "b");
    ImageItem* q = root(rec.scene(), "q");
    ImageItem* q1 = child(q, "q1");

    EXPECT_EQ(rec.engine().commands.items.findScoped("a", c), childA);    // own child first
    EXPECT_EQ(rec.engine().commands.items.findScoped("a", b), siblingA);  // then a sibling
    EXPECT_EQ(rec.engine().commands.items.findScoped("a", q1), rootA);    // then up to the roots
    EXPECT_EQ(rec.engine().commands.items.findScoped("a", nullptr), rootA);
    EXPECT_EQ(rec.engine().commands.items.findScoped("c", nullptr), nullptr);  // no item: roots only
    EXPECT_EQ(rec.engine().commands.items.findScoped("a ", c), nullptr);       // exact names
    // Items elsewhere in the tree (a sibling's children) are not found.
    EXPECT_FALSE(rec.engine().commands.items.hide("q1", {}, b));

    EXPECT_TRUE(rec.engine().commands.items.hide("a", {}, c));
    EXPECT_FALSE(childA->visible);
    EXPECT_TRUE(siblingA->visible);
    EXPECT_TRUE(rootA->visible);

    // In a timer script the commands see only the roots.
    rec.engine().scripts.runScript("Hide p;Hide c;ActivateSingle c;Activate b");
    EXPECT_FALSE(p->visible);
    EXPECT_TRUE(c->visible);
    EXPECT_TRUE(b->visible);
    rec.engine().scripts.runScript("Activate p");
    EXPECT_TRUE(p->visible);
}

TEST(ItemCommandsLookup, ChangeSearchesSiblingsThenTheNameMapThenFromTheParent) {
    ScriptRecorder rec;
    ImageItem* p = root(rec.scene(), "p");
    ImageItem* i = child(p, "i");
    ImageItem* ownChild = child(i, "k");
    ImageItem* elsewhere = root(rec.scene(), "k");  // the name map now yields this one
    ImageItem* deep = child(child(root(rec.scene(), "r"), "r1"), "deep");
    ImageItem* siblingD = child(p, "d");
    ImageItem* mappedD = root(rec.scene(), "d");
    ImageItem* unnamedRoot = root(rec.scene(), "");

    // Siblings (the item itself included) come before the name map.
    EXPECT_TRUE(rec.engine().commands.items.change("d x =1", {}, i));
    EXPECT_EQ(siblingD->position.x, 1.0f);
    EXPECT_EQ(mappedD->position.x, 0.0f);
    EXPECT_TRUE(rec.engine().commands.items.change("i x =2", {}, i));
    EXPECT_EQ(i->position.x, 2.0f);
    // The item's own children are not searched, unlike Hide.
    EXPECT_TRUE(rec.engine().commands.items.change("k x =3", {}, i));
    EXPECT_EQ(elsewhere->position.x, 3.0f);
    EXPECT_EQ(ownChild->position.x, 0.0f);
    // A timer script reaches nested items through the name map.
    rec.engine().scripts.runScript("Change deep y +7");
    EXPECT_EQ(deep->position.y, 7.0f);
    // An empty name is never in the map; the search climbs until an unnamed item is a sibling.
    EXPECT_TRUE(rec.engine().commands.items.change(" x =4", {}, i));
    EXPECT_EQ(unnamedRoot->position.x, 4.0f);
    EXPECT_FALSE(rec.engine().commands.items.change("nobody x =4", {}, i));
    EXPECT_FALSE(rec.engine().commands.items.change("nobody x =4", {}, nullptr));
}

TEST(ItemCommandsEvents, ActivateFiresOnActivateOnceOrTwice) {
    ScriptRecorder rec;
    ImageItem* front = root(rec.scene(), "front");
    ImageItem* back = root(rec.scene(), "back");
    ImageItem* kid = child(front, "kid");
    ImageItem* other = child(front, "other");
    for (ImageItem* i : {front, back, kid, other}) *i->script(qa::scene::Event::onActivate) = "Rec +a";

    EXPECT_TRUE(rec.engine().commands.items.activate("front", {}, nullptr));  // already the front root: once
    EXPECT_EQ(firings(rec)["front"], 1);
    rec.calls().clear();
    kid->visible = false;
    EXPECT_TRUE(rec.engine().commands.items.activate("kid", {}, front));  // a child: directly and from raise
    EXPECT_EQ(firings(rec)["kid"], 2);
    EXPECT_TRUE(kid->visible);
    EXPECT_EQ(front->children.front(), kid);
    rec.calls().clear();
    EXPECT_TRUE(rec.engine().commands.items.activate(
        "back", {}, nullptr));  // a root behind another: twice, then in front
    EXPECT_EQ(firings(rec)["back"], 2);
    EXPECT_EQ(rec.scene().rootItems.front(), back);
    EXPECT_FALSE(rec.engine().commands.items.activate("missing", {}, nullptr));
}

TEST(ItemCommandsEvents, HideAlwaysFiresOnHideAndIsHandled) {
    ScriptRecorder rec;
    ImageItem* a = root(rec.scene(), "a");
    *a->script(qa::scene::Event::onHide) = "Rec h";  // returns false; Hide still returns true
    EXPECT_TRUE(rec.engine().commands.items.hide("a", {}, nullptr));
    EXPECT_TRUE(rec.engine().commands.items.hide("a", {}, nullptr));  // already hidden: fires again
    EXPECT_FALSE(a->visible);
    EXPECT_EQ(firings(rec)["a"], 2);
    EXPECT_FALSE(rec.engine().commands.items.hide("b", {}, nullptr));
}

TEST(ItemCommandsEvents, ActivateSingleHidesEveryOtherSiblingOnce) {
    ScriptRecorder rec;
    ImageItem* p = root(rec.scene(), "p");
    ImageItem* c = child(p, "C");
    ImageItem* b = child(p, "B");
    ImageItem* a = child(p, "A");
    ImageItem* twin = child(p, "T");
    ImageItem* t = child(p, "T");  // children now: T, T(twin), A, B, C
    for (ImageItem* i : {a, b, c, t, twin}) *i->script(qa::scene::Event::onHide) = "Rec +h";
    b->visible = false;
    // A's onHide brings B to the front of the very list being walked.
    *a->script(qa::scene::Event::onHide) = "Rec +h;Activate B";

    EXPECT_TRUE(rec.engine().commands.items.activateSingle("T", {}, p));
    auto n = firings(rec);
    EXPECT_EQ(n["A"], 1);
    EXPECT_EQ(n["B"], 1);
    EXPECT_EQ(n["C"], 1);
    EXPECT_EQ(n["T"], 0);  // both items named T are left alone
    EXPECT_FALSE(a->visible);
    EXPECT_FALSE(b->visible);
    EXPECT_FALSE(c->visible);
    EXPECT_TRUE(t->visible);
    EXPECT_TRUE(twin->visible);
    EXPECT_EQ(p->children.front(), t);

    // A root target hides nothing.
    ImageItem* other = root(rec.scene(), "other");
    rec.calls().clear();
    EXPECT_TRUE(rec.engine().commands.items.activateSingle("p", {}, nullptr));
    EXPECT_TRUE(other->visible);
    EXPECT_EQ(firings(rec).count("other"), 0u);
}

struct ChangeFixture {
    ScriptRecorder rec;
    ImageItem* a = root(rec.scene(), "a");
    bool run(const std::string& rest) { return rec.engine().commands.items.change("a " + rest, {}, nullptr); }
    std::uint32_t alpha() const { return a->colour >> 24; }
};

TEST(ItemCommandsChange, PropertyWordsSelectFields) {
    ChangeFixture f;
    EXPECT_TRUE(f.run("xpos =1"));
    EXPECT_TRUE(f.run("y1 =2"));
    EXPECT_TRUE(f.run("width =3"));
    EXPECT_TRUE(f.run("h =4"));
    EXPECT_TRUE(f.run("sx =5"));
    EXPECT_TRUE(f.run("sy =6"));
    EXPECT_TRUE(f.run("cx =7"));
    EXPECT_TRUE(f.run("cy =8"));
    EXPECT_TRUE(f.run("ox =9"));
    EXPECT_TRUE(f.run("oy =10"));
    const ImageItem& i = *f.a;
    EXPECT_EQ(i.position.x, 1);
    EXPECT_EQ(i.position.y, 2);
    EXPECT_EQ(i.size.x, 3);
    EXPECT_EQ(i.size.y, 4);
    EXPECT_EQ(i.scale.x, 5);
    EXPECT_EQ(i.scale.y, 6);
    EXPECT_EQ(i.centre.x, 7);
    EXPECT_EQ(i.centre.y, 8);
    EXPECT_EQ(i.sourceOffset.x, 9);
    EXPECT_EQ(i.sourceOffset.y, 10);
    EXPECT_EQ(i.colour, 0xFFFFFFFFu);  // cx and cy repack the colour unchanged

    EXPECT_TRUE(f.run("ca =4"));
    EXPECT_TRUE(f.run("cr =1"));
    EXPECT_TRUE(f.run("cg =2"));
    EXPECT_TRUE(f.run("cblue =3"));
    EXPECT_EQ(i.colour, 0x04010203u);

    for (const char* word : {"cz", "sz", "z", "s", "c", "o", "oz", "X", ""}) {
        EXPECT_FALSE(f.run(std::string(word) + " =99")) << word;
    }
    EXPECT_FALSE(f.run("x /2"));  // unknown operator
    EXPECT_FALSE(f.run("x"));     // no value word
    EXPECT_EQ(i.position.x, 1);
    EXPECT_EQ(i.colour, 0x04010203u);
}

TEST(ItemCommandsChange, OperatorsAndIntegerOperands) {
    ChangeFixture f;
    ImageItem& i = *f.a;
    EXPECT_TRUE(f.run("x =10"));
    EXPECT_TRUE(f.run("x +5"));
    EXPECT_EQ(i.position.x, 15);
    EXPECT_TRUE(f.run("x -20"));
    EXPECT_EQ(i.position.x, -5);
    EXPECT_TRUE(f.run("x *-3"));
    EXPECT_EQ(i.position.x, 15);
    EXPECT_TRUE(f.run("x +-5"));
    EXPECT_EQ(i.position.x, 10);
    EXPECT_TRUE(f.run("x =0.5"));  // fractions cannot be written
    EXPECT_EQ(i.position.x, 0);
    EXPECT_TRUE(f.run("y =7"));
    EXPECT_TRUE(f.run("y *0"));
    EXPECT_EQ(i.position.y, 0);
    EXPECT_TRUE(f.run("y +12abc"));
    EXPECT_EQ(i.position.y, 12);
    EXPECT_TRUE(f.run("y ="));  // no digits: 0
    EXPECT_EQ(i.position.y, 0);
}

TEST(ItemCommandsChange, BoundsAndChannelWrapping) {
    ChangeFixture f;
    EXPECT_TRUE(f.run("ca +10"));  // 265 wraps
    EXPECT_EQ(f.alpha(), 9u);
    EXPECT_TRUE(f.run("ca =255"));
    EXPECT_TRUE(f.run("ca +10 0 255"));
    EXPECT_EQ(f.alpha(), 255u);
    EXPECT_TRUE(f.run("ca =5"));
    EXPECT_TRUE(f.run("ca -10 0"));
    EXPECT_EQ(f.alpha(), 0u);
    EXPECT_TRUE(f.run("ca =5"));
    EXPECT_TRUE(f.run("ca -10"));  // -5 wraps
    EXPECT_EQ(f.alpha(), 251u);
    EXPECT_TRUE(f.run("x =100 10 5"));  // a minimum above the maximum yields the maximum
    EXPECT_EQ(f.a->position.x, 5);
    EXPECT_TRUE(f.run("x =-100 10 5"));
    EXPECT_EQ(f.a->position.x, 5);
    EXPECT_TRUE(f.run("x =3   1   8 trailing words"));
    EXPECT_EQ(f.a->position.x, 3);
    EXPECT_TRUE(f.run("x =50 1 8 trailing"));
    EXPECT_EQ(f.a->position.x, 8);
    EXPECT_EQ(f.a->colour & 0x00FFFFFFu, 0x00FFFFFFu);  // the other channels stay
}

TEST(ItemCommandsChange, HugeNumbersGiveDefinedResults) {
    ChangeFixture f;
    ImageItem& i = *f.a;
    // Operands and bounds of many digits saturate to the 32-bit range.
    EXPECT_TRUE(f.run("x =99999999999999999999999"));
    EXPECT_EQ(i.position.x, 2147483648.0f);
    EXPECT_TRUE(f.run("x =-99999999999999999999999"));
    EXPECT_EQ(i.position.x, -2147483648.0f);
    EXPECT_TRUE(f.run("x =0 -99999999999999 99999999999999"));
    EXPECT_EQ(i.position.x, 0);
    EXPECT_TRUE(f.run("x =0 99999999999999"));
    EXPECT_EQ(i.position.x, 2147483648.0f);
    // Products past the float range become infinite, never undefined.
    for (int n = 0; n < 6; ++n) EXPECT_TRUE(f.run("x *2147483647"));
    EXPECT_TRUE(std::isinf(i.position.x));

    // Channels far outside 0 to 255 keep the low 8 bits of their truncated value.
    EXPECT_TRUE(f.run("cr =-1"));
    EXPECT_EQ((i.colour >> 16) & 0xFFu, 255u);
    EXPECT_TRUE(f.run("cr =-257"));
    EXPECT_EQ((i.colour >> 16) & 0xFFu, 255u);
    EXPECT_TRUE(f.run("cg =1000"));
    EXPECT_EQ((i.colour >> 8) & 0xFFu, 1000u % 256u);
    EXPECT_TRUE(f.run("cb =99999999999999"));  // 2^31 as a float
    EXPECT_EQ(i.colour & 0xFFu, 0u);
    for (int n = 0; n < 6; ++n) EXPECT_TRUE(f.run("ca *2147483647"));
    EXPECT_EQ(f.alpha(), 0u);

    EXPECT_EQ(ItemCommands::channelByte(300.7f), 44u);
    EXPECT_EQ(ItemCommands::channelByte(-1.5f), 255u);
    EXPECT_EQ(ItemCommands::channelByte(-0.5f), 0u);
    EXPECT_EQ(ItemCommands::channelByte(16777217.0f * 256.0f), 0u);
    EXPECT_EQ(ItemCommands::channelByte(1e30f), 0u);
    EXPECT_EQ(ItemCommands::channelByte(std::numeric_limits<float>::infinity()), 0u);
    EXPECT_EQ(ItemCommands::channelByte(-std::numeric_limits<float>::infinity()), 0u);
    EXPECT_EQ(ItemCommands::channelByte(std::numeric_limits<float>::quiet_NaN()), 0u);
}

}  // namespace
}  // namespace qa::script
