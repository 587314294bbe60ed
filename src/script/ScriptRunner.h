// Splits scripts into statements and dispatches each through the command table; the way items run
// their event scripts and timers run their plain scripts.
#pragma once

#include <cstdint>
#include <string>

#include "scene/ScriptHook.h"
#include "scene/Syntax.h"

namespace qa::scene {
class SceneState;
}
namespace qa::trace {
class TraceSink;
}

namespace qa::script {

class CommandTable;

class ScriptRunner : public scene::ScriptHook {
  public:
    // Scripts that start scripts (an onActivate that activates its own item, say) stop nesting at
    // this depth, and one outermost run executes at most kMaxStatements statements: no real scene
    // comes near either, and a scene that triggers itself ends instead of exhausting the stack.
    static constexpr int kMaxDepth = 16;
    static constexpr long kMaxStatements = 100000;

    // Statements are looked up in `commands`; plain scripts read the cursor of `scene`.
    ScriptRunner(const CommandTable& commands, const scene::SceneState& scene)
        : commands_(commands), scene_(scene) {}
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    void setTrace(trace::TraceSink* trace) { trace_ = trace; }

    bool runItemScript(const std::string& script, Vec3 position, scene::ImageItem* item) override;

    // Runs a plain script: no item, the current cursor position read for every statement, results ignored.
    void runScript(std::string script);

    // Statements run so far, counted as they start (nested runs included): what a stretch of
    // scripting cost is the difference of two readings.
    std::uint64_t statementsRun() const { return statementsRun_; }

  private:
    bool run(const std::string& script, const Vec3* position, scene::ImageItem* item);
    bool dispatch(const scene::Syntax::Piece& statement, Vec3 position, scene::ImageItem* item);
    void reportCut(const std::string& statement, const char* reason);

    const CommandTable& commands_;
    const scene::SceneState& scene_;
    trace::TraceSink* trace_ = nullptr;
    int depth_ = 0;            // script runs in progress, nested
    long statementsLeft_ = 0;  // budget of the outermost run in progress
    bool budgetReported_ = false;
    std::uint64_t statementsRun_ = 0;
};

}  // namespace qa::script
