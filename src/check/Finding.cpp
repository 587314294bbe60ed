// The text and JSON forms of a finding.
#include "check/Finding.h"

#include <cstdio>

namespace qa::check {

std::string Finding::quoted(const std::string& text) {
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
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
                if (c < 0x20 || c == 0x7F) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\x%02x", c);
                    out += buf;
                } else {
                    out.push_back(ch);
                }
        }
    }
    return out + "\"";
}

std::string Finding::text() const {
    std::string out = file;
    if (line > 0) {
        out += ":" + std::to_string(line);
        if (column > 0) out += ":" + std::to_string(column);
    }
    out += severity == Severity::Error ? ": error: " : ": warning: ";
    if (aboutItem) {
        out += "item " + (itemName.empty() ? "#" + std::to_string(itemIndex) : quoted(itemName));
        out += attribute.empty() ? ": " : " ";
    }
    if (!attribute.empty()) out += attribute + ": ";
    out += message;
    if (!suggestion.empty()) out += " (did you mean " + quoted(suggestion) + "?)";
    return out;
}

std::string Finding::jsonString(const std::string& bytes) {
    // The length of a valid UTF-8 sequence starting at i, or 0.
    auto sequenceLength = [&](std::size_t i) -> std::size_t {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const std::size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 0;
        if (n == 0 || i + n > bytes.size()) return 0;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return 0;
        return n;
    };
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x80) {
            if (const std::size_t n = sequenceLength(i)) {
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
    return out + "\"";
}

std::string Finding::json() const {
    std::string out = "{\"file\":" + jsonString(file);
    out += ",\"line\":" + std::to_string(line) + ",\"column\":" + std::to_string(column);
    out += std::string(",\"severity\":\"") + (severity == Severity::Error ? "error" : "warning") + "\"";
    out += ",\"code\":" + jsonString(code);
    if (aboutItem) {
        out += ",\"item\":" + jsonString(itemName) + ",\"index\":" + std::to_string(itemIndex);
    } else {
        out += ",\"item\":null,\"index\":null";
    }
    out += ",\"attribute\":" + (attribute.empty() ? std::string("null") : jsonString(attribute));
    out += ",\"message\":" + jsonString(message);
    out += ",\"suggestion\":" + (suggestion.empty() ? std::string("null") : jsonString(suggestion));
    out += ",\"text\":" + jsonString(text()) + "}";
    return out;
}

}  // namespace qa::check
