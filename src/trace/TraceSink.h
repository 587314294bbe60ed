// Observer of what the running system does: commands, events, timers, tracks and skipped statements.
// The headless runner hands one to the engine to write its trace; the program itself runs without one.
#pragma once

#include <string>

namespace qa::trace {

class TraceSink {
  public:
    virtual ~TraceSink() = default;

    // itemName is null for statements of plain scripts (timer scripts), which run without an item.
    virtual void command(const std::string& command, const std::string& arg, const std::string* itemName,
                         int itemIndex, bool result) = 0;
    virtual void event(int event, const std::string& itemName, int itemIndex, bool handled) = 0;
    virtual void timer(const std::string& name, const char* phase) = 0;
    virtual void track(const std::string& track, const char* action) = 0;
    virtual void skip(const std::string& statement) = 0;
    // A statement that was not run because scripts nested too deeply or ran too long.
    virtual void cut(const std::string& statement, const char* reason) = 0;
};

}  // namespace qa::trace
