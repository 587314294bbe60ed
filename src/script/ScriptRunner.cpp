// Statement splitting and dispatch, with bounded nesting.
#include "script/ScriptRunner.h"

#include <vector>

#include "scene/ImageItem.h"
#include "scene/SceneState.h"
#include "script/CommandTable.h"
#include "trace/TraceSink.h"

namespace qa::script {

void ScriptRunner::reportCut(const std::string& statement, const char* reason) {
    if (trace_) trace_->cut(statement, reason);
}

std::pair<std::string, std::string> ScriptRunner::splitWord(const std::string& text) {
    std::size_t s = text.find(' ');
    if (s == std::string::npos) return {text, std::string()};
    std::string word = text.substr(0, s);
    if (s > 0) {
        while (s + 1 < text.size() && text[s + 1] == ' ') ++s;
    }
    return {word, text.substr(s + 1)};
}

std::vector<std::string> ScriptRunner::statements(const std::string& script) {
    std::vector<std::string> out;
    std::string rest = script;
    while (!rest.empty()) {
        std::size_t p = rest.find(';');
        if (p == std::string::npos) {
            out.push_back(rest);
            break;
        }
        out.push_back(rest.substr(0, p));
        if (p > 0) {
            while (p + 1 < rest.size() && rest[p + 1] == ' ') ++p;
        }
        rest.erase(0, p + 1);
    }
    return out;
}

std::pair<std::string, std::string> ScriptRunner::commandOf(const std::string& statement) {
    std::size_t s = statement.find(' ');
    if (s == std::string::npos) return {statement, statement};
    return {statement.substr(0, s), statement.substr(s + 1)};
}

bool ScriptRunner::dispatch(const std::string& statement, platform::Vec3 position, scene::ImageItem* item) {
    auto [word, argument] = commandOf(statement);
    if (!commands_.contains(word)) {
        if (trace_) trace_->skip(statement);
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

bool ScriptRunner::run(const std::string& script, const platform::Vec3* position, scene::ImageItem* item) {
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
    // The statements are split from a copy: handlers may change the stored script while it runs.
    for (const std::string& statement : statements(script)) {
        if (statementsLeft_ <= 0) {
            if (!budgetReported_) reportCut(statement, "budget");
            budgetReported_ = true;
            continue;
        }
        --statementsLeft_;
        const platform::Vec3 at = position ? *position : scene_.cursor;
        if (dispatch(statement, at, item)) handled = true;
    }
    --depth_;
    return handled;
}

bool ScriptRunner::runItemScript(const std::string& script, platform::Vec3 position, scene::ImageItem* item) {
    return run(script, &position, item);
}

void ScriptRunner::runScript(std::string script) {
    run(script, nullptr, nullptr);
}

}  // namespace qa::script
