// Statement splitting, argument splitting, dispatch and bounded nesting.
#include <gtest/gtest.h>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "script/ScriptRunner.h"
#include "support/ScriptRecorder.h"

namespace qa::script {
namespace {

using test::ScriptRecorder;

TEST(ScriptRunnerStatements, SeparatorsAndSpacesFollowTheRules) {
    ScriptRecorder rec;
    rec.engine().scripts.runScript("Rec a;Rec b");
    rec.engine().scripts.runScript("Rec c;   Rec d");
    rec.engine().scripts.runScript("Rec e ;Rec f");  // the space before ";" stays in the argument
    rec.engine().scripts.runScript("Rec  g");        // two spaces: the argument starts with a space
    rec.engine().scripts.runScript("Rec h;;Rec i");  // empty statement skipped
    rec.engine().scripts.runScript("Rec j;");        // trailing separator: one statement
    EXPECT_EQ(rec.joined(), "a,b,c,d,e ,f, g,h,i,j");
}

TEST(ScriptRunnerStatements, LeadingSeparatorKeepsTheFollowingSpaces) {
    ScriptRecorder rec;
    rec.engine().scripts.runScript(";  Rec b");  // "  Rec b" has an empty command word
    EXPECT_TRUE(rec.calls().empty());
    EXPECT_EQ(rec.engine().commandTable.find(""), nullptr);
}

TEST(ScriptRunnerStatements, WordWithoutSpaceIsItsOwnArgument) {
    ScriptRecorder rec;
    rec.engine().scripts.runScript("Rec");
    ASSERT_EQ(rec.calls().size(), 1u);
    EXPECT_EQ(rec.calls()[0].argument, "Rec");
}

TEST(ScriptRunnerStatements, CommandWordsAreExactAndCaseSensitive) {
    ScriptRecorder rec;
    rec.engine().scripts.runScript("rec a;REC b;Rec\nc");
    rec.engine().scripts.runScript(" Rec d");
    EXPECT_TRUE(rec.calls().empty());
}

TEST(ScriptRunnerDispatch, EveryStatementRunsAndResultsAreOred) {
    ScriptRecorder rec;
    auto* item = rec.scene().make<scene::ImageItem>("");
    item->name = "it";
    rec.scene().rootItems.push_back(item);
    *item->script(qa::scene::Event::onSubmit) = "Rec +first;Rec second";
    EXPECT_TRUE(item->fireEvent(qa::scene::Event::onSubmit, {}));
    EXPECT_EQ(rec.joined(), "+first,second");
    EXPECT_EQ(rec.calls()[1].item, "it");
    *item->script(qa::scene::Event::onSubmit) = "Rec a;Rec b";
    EXPECT_FALSE(item->fireEvent(qa::scene::Event::onSubmit, {}));
}

// A scene that triggers itself ends: the nesting is cut at a fixed depth.
bool reenter(std::string argument, Vec3 position, scene::ImageItem* item) {
    return item->fireEvent(qa::scene::Event::onSubmit, position);
}

TEST(ScriptRunnerDispatch, SelfTriggeringScriptsStopNesting) {
    ScriptRecorder rec;
    rec.engine().commandTable.registerCommand("Again", &reenter);
    auto* item = rec.scene().make<scene::ImageItem>("");
    rec.scene().rootItems.push_back(item);
    *item->script(qa::scene::Event::onSubmit) = "Rec x;Again;Again";
    item->fireEvent(qa::scene::Event::onSubmit, {});
    // Two re-entries per level: bounded by the statement budget, not by the stack.
    EXPECT_GE(rec.calls().size(), static_cast<std::size_t>(ScriptRunner::kMaxDepth));
    EXPECT_LE(rec.calls().size(), static_cast<std::size_t>(ScriptRunner::kMaxStatements));
}

// A script longer than the statement budget runs the budget's worth and is cut once, without
// splitting the rest: a million statements end at once.
TEST(ScriptRunnerDispatch, TheBudgetCutsALongScriptOnce) {
    ScriptRecorder rec;
    std::string script;
    for (int i = 0; i < 1000000; ++i) script += "Rec s;";
    rec.engine().scripts.runScript(script);
    rec.engine().scripts.runScript("Rec after");
    ASSERT_EQ(rec.calls().size(), static_cast<std::size_t>(ScriptRunner::kMaxStatements) + 1);
    EXPECT_EQ(rec.calls().back().argument, "after");
}

}  // namespace
}  // namespace qa::script
