// The text and JSON forms of a finding.
#include "check/Finding.h"

#include <cstdio>

#include "trace/JsonText.h"

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
    return trace::JsonText::quote(bytes);
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
