// Statement splitting and dispatch, with bounded nesting.
#include "script/ScriptRunner.h"

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "trace/TraceSink.h"

namespace qa::script {

void ScriptRunner::reportCut(const std::string& statement, const char* reason) {
    if (trace_) trace_->cut(statement, reason);
}

bool ScriptRunner::dispatch(const scene::Syntax::Piece& statement, Vec3 position, scene::ImageItem* item) {
    auto [command, piece] = scene::Syntax::commandOf(statement);
    const std::string& word = command.text;
    std::string& argument = piece.text;
    if (!commands_.contains(word)) {
        if (trace_) trace_->skip(statement.text);
        return false;
    }
    const CommandHandler* found = commands_.find(word);
    if (!found) return false;
    // A copy: the handler stays whole even if its script changes the table.
    const CommandHandler handler = *found;
    const std::string arg = argument;
    bool result = handler(std::move(argument), position, item);
    if (trace_) {
        trace_->command(word, arg, item ? &item->name : nullptr, item ? item->index : -1, result);
    }
    return result;
}

bool ScriptRunner::run(const std::string& script, const Vec3* position, scene::ImageItem* item) {
    if (depth_ >= kMaxDepth) {
        reportCut(script, "depth");
        return false;
    }
    if (depth_ == 0) {
        statementsLeft_ = kMaxStatements;
        budgetReported_ = false;
    }
    ++depth_;
    bool handled = false;
    // The statements are read from a copy, one at a time: handlers may change the stored script while
    // it runs, and a run cut by the budget splits no further.
    const std::string text = script;  // NOLINT(performance-unnecessary-copy-initialization)
    std::size_t pos = 0;
    scene::Syntax::Piece statement;
    while (scene::Syntax::nextStatement(text, pos, statement)) {
        if (statementsLeft_ <= 0) {
            if (!budgetReported_) reportCut(statement.text, "budget");
            budgetReported_ = true;
            break;
        }
        --statementsLeft_;
        ++statementsRun_;
        const Vec3 at = position ? *position : scene_.cursor;
        if (dispatch(statement, at, item)) handled = true;
    }
    --depth_;
    return handled;
}

bool ScriptRunner::runItemScript(const std::string& script, Vec3 position, scene::ImageItem* item) {
    return run(script, &position, item);
}

void ScriptRunner::runScript(std::string script) {
    run(script, nullptr, nullptr);
}

}  // namespace qa::script
