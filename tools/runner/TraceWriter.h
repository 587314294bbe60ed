// Writes the runner's trace: one JSON object a line for every command, event, timer step, track
// start, skipped statement and cut statement, and (when asked) the runner's memory use.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "trace/TraceSink.h"

namespace qa::runner {

class TraceWriter : public trace::TraceSink {
  public:
    // Opens the file; `ok()` tells whether that worked.
    explicit TraceWriter(const std::string& path);
    ~TraceWriter() override;
    bool ok() const { return file_ != nullptr; }
    void setFrame(int frame) { frame_ = frame; }

    void command(const std::string& command, const std::string& arg, const std::string* itemName,
                 int itemIndex, bool result) override;
    void event(int event, const std::string& itemName, int itemIndex, bool handled) override;
    void timer(const std::string& name, const char* phase) override;
    void track(const std::string& track, const char* action) override;
    void skip(const std::string& statement) override;
    void cut(const std::string& statement, const char* reason) override;
    // The runner's own record of its memory use (resident and peak, in KiB).
    void memory(std::uint64_t residentKb, std::uint64_t peakKb);

    // A JSON string literal for bytes: quotes, backslashes and control characters escaped.
    static std::string quote(const std::string& bytes);

  private:
    void line(const std::string& body);
    std::FILE* file_ = nullptr;
    int frame_ = 0;
};

}  // namespace qa::runner
