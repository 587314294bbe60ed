// The trace's JSON Lines.
#include "runner/TraceWriter.h"

namespace qa::runner {

TraceWriter::TraceWriter(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
}

TraceWriter::~TraceWriter() {
    if (file_) std::fclose(file_);
}

std::string TraceWriter::quote(const std::string& bytes) {
    // Valid UTF-8 passes through; any other byte is written as the character of that code
    // (\u0080 to \u00ff), so every line stays valid JSON whatever bytes names and scripts hold.
    auto sequenceLength = [&](std::size_t i) -> std::size_t {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
        if (n == 0 || c > 0xF4 || i + n > bytes.size()) return 0;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return 0;
        return n;
    };
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80) {
            if (std::size_t n = sequenceLength(i)) {
                out.append(bytes, i, n);
                i += n - 1;
                continue;
            }
        }
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c >= 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    out += "\"";
    return out;
}

void TraceWriter::line(const std::string& body) {
    if (!file_) return;
    std::string text = "{\"frame\":" + std::to_string(frame_) + "," + body + "}\n";
    std::fwrite(text.data(), 1, text.size(), file_);
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
