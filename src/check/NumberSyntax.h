// Whether attribute values and command words are written as the numbers they are read as.
#pragma once

#include <string>

namespace qa::check {

class NumberSyntax {
  public:
    // A decimal number and nothing else (white space around it allowed): optional sign, digits with
    // an optional fraction, optional exponent.
    static bool isDecimal(const std::string& text);
    // An integer and nothing else: optional sign, digits.
    static bool isWhole(const std::string& text);
    // A float as an author would write it: 3, 0.5, -12.25.
    static std::string show(double value);
};

}  // namespace qa::check
