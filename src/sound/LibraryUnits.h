// Conversions from the players' float units to the library's integers: truncation toward zero that
// saturates instead of overflowing (NaN gives 0).
#pragma once

#include <climits>
#include <cmath>

namespace qa::sound {

inline int truncToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return INT_MAX;
    if (value <= -2147483648.0f) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace qa::sound
