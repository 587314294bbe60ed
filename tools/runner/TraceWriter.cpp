// The trace's JSON Lines.
#include "runner/TraceWriter.h"

#include "platform/file/OutputFile.h"
#include "trace/JsonText.h"

namespace qa::runner {

TraceWriter::TraceWriter(const std::string& path) {
    file_ = platform::OutputFile::create(path, error_);
}

TraceWriter::~TraceWriter() = default;

bool TraceWriter::finish(std::string& error) {
    if (!file_) {
        error = error_;
        return false;
    }
    const bool ok = file_->commit(error);
    file_.reset();
    return ok;
}

std::string TraceWriter::quote(const std::string& bytes) {
    return trace::JsonText::quote(bytes);
}

void TraceWriter::line(const std::string& body) {
    if (!file_) return;
    std::string text = "{\"frame\":" + std::to_string(frame_) + "," + body + "}\n";
    file_->write(text.data(), text.size());
}

void TraceWriter::command(const std::string& command, const std::string& arg, const std::string* itemName,
                          int itemIndex, bool result) {
    std::string item = itemName ? quote(*itemName) : "null";
    std::string index = itemName ? std::to_string(itemIndex) : "null";
    line("\"type\":\"command\",\"command\":" + quote(command) + ",\"arg\":" + quote(arg) +
         ",\"item\":" + item + ",\"index\":" + index + ",\"result\":" + (result ? "true" : "false"));
}

void TraceWriter::event(int event, const std::string& itemName, int itemIndex, bool handled) {
    line("\"type\":\"event\",\"event\":" + std::to_string(event) + ",\"item\":" + quote(itemName) +
         ",\"index\":" + std::to_string(itemIndex) + ",\"handled\":" + (handled ? "true" : "false"));
}

void TraceWriter::timer(const std::string& name, const char* phase) {
    line("\"type\":\"timer\",\"timer\":" + quote(name) + ",\"phase\":" + quote(phase));
}

void TraceWriter::track(const std::string& track, const char* action) {
    line("\"type\":\"track\",\"track\":" + quote(track) + ",\"action\":" + quote(action));
}

void TraceWriter::skip(const std::string& statement) {
    line("\"type\":\"skip\",\"statement\":" + quote(statement));
}

void TraceWriter::cut(const std::string& statement, const char* reason) {
    line("\"type\":\"cut\",\"statement\":" + quote(statement) + ",\"reason\":" + quote(reason));
}

void TraceWriter::memory(std::uint64_t residentKb, std::uint64_t peakKb) {
    line("\"type\":\"memory\",\"rss_kb\":" + std::to_string(residentKb) +
         ",\"peak_kb\":" + std::to_string(peakKb));
}

}  // namespace qa::runner
