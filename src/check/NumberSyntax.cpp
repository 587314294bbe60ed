// Number syntax for the checker.
#include "check/NumberSyntax.h"

#include <cctype>
#include <cstdio>

namespace qa::check {

namespace {
bool digit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
bool space(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}
}  // namespace

bool NumberSyntax::isDecimal(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && space(text[i])) ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    bool digits = false;
    while (i < n && digit(text[i])) ++i, digits = true;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && digit(text[i])) ++i, digits = true;
    }
    if (!digits) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (i >= n || !digit(text[i])) return false;
        while (i < n && digit(text[i])) ++i;
    }
    while (i < n && space(text[i])) ++i;
    return i == n;
}

bool NumberSyntax::isWhole(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i >= text.size()) return false;
    for (; i < text.size(); ++i)
        if (!digit(text[i])) return false;
    return true;
}

std::string NumberSyntax::show(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", value);
    return buf;
}

}  // namespace qa::check
