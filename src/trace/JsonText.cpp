// JSON string literals.
#include "trace/JsonText.h"

#include <cstdio>

namespace qa::trace {

std::string JsonText::quote(const std::string& bytes) {
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

}  // namespace qa::trace
