// Event passing, raise, children and hit testing of items.
#include <gtest/gtest.h>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "support/ScriptRecorder.h"

namespace qa::scene {
namespace {

using test::ScriptRecorder;

ImageItem* root(SceneState& scene, const std::string& name) {
    auto* i = scene.make<ImageItem>("");
    i->name = name;
    scene.rootItems.push_back(i);
    return i;
}

ImageItem* child(ImageItem* parent, const std::string& name) {
    auto* i = parent->scene().make<ImageItem>("");
    i->name = name;
    parent->addChild(i);
    return i;
}

TEST(ImageItemEvents, EventNumbersSelectTheirScripts) {
    ScriptRecorder rec;
    ImageItem* a = root(rec.scene(), "a");
    const char* names[] = {"",         "submit", "submitUp", "escape", "escapeUp", "hoverOn",
                           "hoverOff", "load",   "activate", "hide",   "pgDn",     "pgUp",
                           "down",     "up",     "left",     "right"};
    for (int e = 1; e <= 15; ++e) *a->script(static_cast<Event>(e)) = std::string("Rec ") + names[e];
    for (int e = 0; e <= 16; ++e) a->fireEvent(static_cast<Event>(e), {});
    EXPECT_EQ(
        rec.joined(),
        "submit,submitUp,escape,escapeUp,hoverOn,hoverOff,load,activate,hide,pgDn,pgUp,down,up,left,right");
}

TEST(ImageItemEvents, UnhandledEventsClimbToTheNearestHandlingAncestor) {
    ScriptRecorder rec;
    ImageItem* g = root(rec.scene(), "g");
    ImageItem* p = child(g, "p");
    ImageItem* c = child(p, "c");
    *g->script(qa::scene::Event::onDown) = "Rec +g";
    *p->script(qa::scene::Event::onDown) = "Rec p";
    EXPECT_TRUE(c->fireEvent(qa::scene::Event::onDown, {}));
    EXPECT_EQ(rec.joined(), "p,+g");
    *g->script(qa::scene::Event::onDown) = "Rec g";
    EXPECT_FALSE(c->fireEvent(qa::scene::Event::onDown, {}));
}

TEST(ImageItemRaise, FrontRootFiresNothingChildrenAlwaysFire) {
    ScriptRecorder rec;
    ImageItem* a = root(rec.scene(), "a");
    ImageItem* b = root(rec.scene(), "b");
    *a->script(qa::scene::Event::onActivate) = "Rec a";
    *b->script(qa::scene::Event::onActivate) = "Rec b";
    a->raise();
    EXPECT_EQ(rec.joined(), "");
    b->raise();
    EXPECT_EQ(rec.joined(), "b");
    EXPECT_EQ(rec.scene().rootItems.front(), b);
    ImageItem* k1 = child(b, "k1");
    ImageItem* k2 = child(b, "k2");
    *k1->script(qa::scene::Event::onActivate) = "Rec k1";
    k1->raise();  // k1's script does not handle it, so onActivate climbs to b
    EXPECT_EQ(rec.joined(), "b,k1,b");
    EXPECT_EQ(b->children.front(), k1);
    (void)k2;
}

TEST(ImageItemHitTest, BoxCentreScaleAndChildren) {
    ScriptRecorder rec;
    ImageItem* a = root(rec.scene(), "a");
    a->size = {100, 50, 0};
    a->centre = {50, 25, 0};
    a->position = {200, 100, 0};
    EXPECT_EQ(a->hitTest({150, 75, 0}), a);
    EXPECT_EQ(a->hitTest({250, 125, 0}), a);  // edges included
    EXPECT_EQ(a->hitTest({251, 125, 0}), nullptr);
    EXPECT_EQ(a->hitTest({149, 75, 0}), nullptr);
    // Children are found in the parent's local frame, front first.
    ImageItem* k1 = child(a, "k1");
    ImageItem* k2 = child(a, "k2");
    for (ImageItem* k : {k1, k2}) {
        k->size = {10, 10, 0};
        k->centre = {0, 0, 0};
    }
    EXPECT_EQ(a->hitTest({155, 80, 0}), k2);
    k2->visible = false;
    EXPECT_EQ(a->hitTest({155, 80, 0}), k1);
    // A zero scale shrinks the box to the position point.
    a->scale = {0, 0, 1};
    EXPECT_EQ(a->hitTest({200, 100, 0}), k1);
    EXPECT_EQ(a->hitTest({201, 100, 0}), nullptr);
    a->visible = false;
    EXPECT_EQ(a->hitTest({200, 100, 0}), nullptr);
}

TEST(ImageItemChildren, DrawingComposesAndRestoresChildPlacement) {
    ScriptRecorder rec;
    ImageItem* p = root(rec.scene(), "p");
    ImageItem* c = child(p, "c");
    p->position = {100, 100, 0};
    p->scale = {2, 2, 1};
    c->position = {10, 0, 0};
    struct Probe : ImageItem {
        using ImageItem::ImageItem;
        Vec3 seenPosition, seenScale;
        bool draw() override {
            seenPosition = position;
            seenScale = scale;
            return true;
        }
    };
    auto* probe = rec.scene().make<Probe>("");
    c->addChild(probe);
    probe->position = {1, 1, 0};
    p->draw();
    // c is drawn at 10 x 2 + 100 = 120 with scale 2; the probe composes with those values.
    EXPECT_EQ(probe->seenPosition.x, 1 * 2 + 120);
    EXPECT_EQ(probe->seenScale.x, 2.0f);
    EXPECT_EQ(probe->position.x, 1.0f);
    EXPECT_EQ(c->position.x, 10.0f);
    // Drawn items enter the input receiver list; a hidden parent hides its subtree.
    EXPECT_EQ(rec.scene().drawnItems.size(), 2u);
    rec.scene().drawnItems.clear();
    p->visible = false;
    EXPECT_TRUE(p->draw());
    EXPECT_TRUE(rec.scene().drawnItems.empty());
}

}  // namespace
}  // namespace qa::scene
