// Conversions between text, doubles, floats and integers with defined results for every input:
// the text-to-number rules that scene attributes and command words use, and saturating narrowing.
#pragma once

#include <cstdint>
#include <string>

namespace qa::scene {

// Standard text-to-double: leading white space, optional sign, the longest decimal prefix with
// optional fraction and exponent; 0 when there is none.
double textToDouble(const std::string& text);

// Standard text-to-integer: leading white space, optional sign, leading decimal digits; 0 when there
// are none. Values beyond the 32-bit range saturate.
std::int32_t textToInt(const std::string& text);

// A double stored as a 32-bit float: out-of-range values become infinities, never undefined.
float toFloat(double value);

// Truncation toward zero into a 32-bit integer, saturating; NaN gives 0.
std::int32_t truncToInt(double value);

// Truncation toward zero into 64 bits, saturating; NaN gives 0.
std::int64_t truncToInt64(double value);

// The boolean attribute rule: exactly "true" or "TRUE", or an integer greater than 0.
bool textToBool(const std::string& text);

}  // namespace qa::scene
