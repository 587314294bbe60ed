// Writes the runner's trace: one JSON object a line for every command, event, timer step, track
// start, skipped statement and cut statement, and (when asked) the runner's memory use. The lines go
// into a temporary file beside the trace's name, which takes that name when finished whole.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file/OutputFile.h"
#include "trace/TraceSink.h"

namespace qa::runner {

class TraceWriter : public trace::TraceSink {
  public:
    // Opens the file; `ok()` tells whether that worked, error() why not.
    explicit TraceWriter(const std::string& path);
    // Without finish(), the trace is given up and nothing takes its name.
    ~TraceWriter() override;
    bool ok() const { return file_ != nullptr; }
    const std::string& error() const { return error_; }
    // Completes the file and gives it its name; false with the reason when a line could not be
    // written (the partial file is then removed).
    bool finish(std::string& error);
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
    std::unique_ptr<platform::OutputFile> file_;
    std::string error_;
    int frame_ = 0;
};

}  // namespace qa::runner
