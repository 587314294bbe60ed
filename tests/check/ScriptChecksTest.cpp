// The checker reads scripts and lookups exactly as the engine runs them.
#include <gtest/gtest.h>

#include "check/ItemTree.h"
#include "check/ScriptChecks.h"
#include "engine/Engine.h"
#include "platform/XmlDocument.h"
#include "platform/audio/SoftwareSoundLibrary.h"
#include "scene/ImageItem.h"
#include "scene/SceneLoader.h"
#include "script/ScriptRunner.h"
#include "support/TempDisk.h"

namespace qa::check {
namespace {

// A scene loaded both ways: the checker's tree and the engine's items.
class TreeAgainstLoader : public ::testing::Test {
  protected:
    void load(const std::string& xml) {
        disk_.writeScene(xml);
        ASSERT_TRUE(scene::SceneLoader(engine_.scene).load());
        std::vector<scene::ImageItem*> walk(engine_.scene.rootItems.begin(), engine_.scene.rootItems.end());
        while (!walk.empty()) {
            scene::ImageItem* i = walk.back();
            walk.pop_back();
            if (static_cast<std::size_t>(i->index) >= built_.size()) built_.resize(i->index + 1);
            built_[static_cast<std::size_t>(i->index)] = i;
            walk.insert(walk.end(), i->children.begin(), i->children.end());
        }
        ASSERT_TRUE(document_.loadBytes(xml));
        tree_ = std::make_unique<ItemTree>(document_);
    }
    test::TempDisk disk_;
    platform::audio::SoftwareSoundLibrary silent_{platform::audio::OutputKind::Pull};
    engine::Engine engine_{silent_};
    platform::XmlDocument document_;
    std::unique_ptr<ItemTree> tree_;
    std::vector<scene::ImageItem*> built_;  // the engine's items by construction index
};

TEST_F(TreeAgainstLoader, SameItemsInTheSameOrderAndEveryLookupAgrees) {
    // Nested roots inside other elements, a root element named "item" left alone, repeated names.
    load(R"(<scene>
  <item name="a"><item name="a1"/><group><item name="n"/></group><item name="a2"><item name="deep"/></item></item>
  <item name="b"><item name="b1"/><item name="a1"/></item>
  <wrap><item><item name="x"/></item></wrap>
  <item name="c"/>
</scene>)");
    ASSERT_EQ(tree_->items().size(), built_.size());
    for (std::size_t i = 0; i < built_.size(); ++i) {
        EXPECT_EQ(tree_->items()[i]->name, built_[i]->name) << i;
        const ItemTree::Item* parent = tree_->items()[i]->parent;
        EXPECT_EQ(parent ? parent->index : -1, built_[i]->parent ? built_[i]->parent->index : -1) << i;
    }
    // Every name from every item, and from timer scripts: reachable exactly when the engine finds it.
    const char* names[] = {"a", "a1", "a2", "n", "deep", "b", "b1", "x", "c", "none"};
    script::ItemCommands& lookups = engine_.commands.items;
    for (std::size_t i = 0; i <= built_.size(); ++i) {
        const ItemTree::Item* from = i < built_.size() ? tree_->items()[i].get() : nullptr;
        scene::ImageItem* item = i < built_.size() ? built_[i] : nullptr;
        for (const char* name : names) {
            EXPECT_EQ(tree_->reachable(name, from), lookups.findScoped(name, item) != nullptr)
                << name << " from " << (item ? item->name : "a timer");
            EXPECT_EQ(tree_->named(name), lookups.findForChange(name, item) != nullptr) << name;
        }
    }
}

TEST_F(TreeAgainstLoader, ARootElementNamedItemIsNotBuilt) {
    load(
        R"(<item name="top"><item name="direct"><item name="deeper"/></item><g><item name="kept"/></g></item>)");
    ASSERT_EQ(tree_->items().size(), built_.size());
    ASSERT_EQ(built_.size(), 1u);
    EXPECT_EQ(tree_->items()[0]->name, "kept");
}

}  // namespace
}  // namespace qa::check
