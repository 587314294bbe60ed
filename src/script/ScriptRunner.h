// Splits scripts into statements and dispatches each through the command table; the way items run
// their event scripts and timers run their plain scripts.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "scene/ScriptHook.h"

namespace qa::script {

class ScriptRunner : public scene::ScriptHook {
  public:
    // Scripts that start scripts (an onActivate that activates its own item, say) stop nesting at
    // this depth, and one outermost run executes at most kMaxStatements statements: no real scene
    // comes near either, and a scene that triggers itself ends instead of exhausting the stack.
    static constexpr int kMaxDepth = 16;
    static constexpr long kMaxStatements = 100000;

    bool runItemScript(const std::string& script, platform::Vec3 position, scene::ImageItem* item) override;

    // Runs a plain script: no item, the current cursor position read for every statement, results ignored.
    static void runScript(std::string script);

    // The word before the first space and the rest after the spaces that follow it.
    static std::pair<std::string, std::string> splitWord(const std::string& text);

    // The statements of a script, as the runner splits them.
    static std::vector<std::string> statements(const std::string& script);
    // The command word and argument text of one statement.
    static std::pair<std::string, std::string> commandOf(const std::string& statement);

    // The one runner of the process, installed as the scene's script hook.
    static ScriptRunner& instance();

  private:
    static bool run(const std::string& script, const platform::Vec3* position, scene::ImageItem* item);
    static bool dispatch(const std::string& statement, platform::Vec3 position, scene::ImageItem* item);
};

}  // namespace qa::script
