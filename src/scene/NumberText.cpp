// Text-to-number rules and saturating conversions.
#include "scene/NumberText.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace qa::scene {

double textToDouble(const std::string& text) {
    const char* s = text.c_str();
    // Only the decimal form counts: hexadecimal, "inf" and "nan" forms are read as their
    // leading "0" or as no number at all.
    const char* p = s;
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    const char* q = p;
    if (*q == '+' || *q == '-') ++q;
    if (!std::isdigit(static_cast<unsigned char>(*q)) && *q != '.') return 0.0;
    std::string decimal;
    decimal.assign(p, static_cast<std::size_t>(q - p));
    bool digits = false;
    while (std::isdigit(static_cast<unsigned char>(*q))) {
        decimal.push_back(*q++);
        digits = true;
    }
    if (*q == '.') {
        decimal.push_back(*q++);
        while (std::isdigit(static_cast<unsigned char>(*q))) {
            decimal.push_back(*q++);
            digits = true;
        }
    }
    if (!digits) return 0.0;
    if (*q == 'e' || *q == 'E') {
        const char* e = q + 1;
        if (*e == '+' || *e == '-') ++e;
        if (std::isdigit(static_cast<unsigned char>(*e))) {
            decimal.append(q, static_cast<std::size_t>(e - q));
            while (std::isdigit(static_cast<unsigned char>(*e))) decimal.push_back(*e++);
        }
    }
    return std::strtod(decimal.c_str(), nullptr);
}

std::int32_t textToInt(const std::string& text) {
    const char* p = text.c_str();
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    std::int64_t value = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        if (value <= (std::int64_t{1} << 40)) value = value * 10 + (*p - '0');
        ++p;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

float toFloat(double value) {
    if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
    if (value > FLT_MAX) return std::numeric_limits<float>::infinity();
    if (value < -FLT_MAX) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

std::int32_t truncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::int64_t truncToInt64(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 9.2233720368547748e18) return std::numeric_limits<std::int64_t>::max();
    if (value <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

bool textToBool(const std::string& text) {
    if (text == "true" || text == "TRUE") return true;
    return textToInt(text) > 0;
}

}  // namespace qa::scene
