// One problem the checker found: where it is (file, line, column, item, attribute), how bad it is,
// what it is, and the likely intended spelling when one is close.
#pragma once

#include <string>

namespace qa::check {

enum class Severity { Error, Warning };

class Finding {
  public:
    Severity severity = Severity::Error;
    std::string code;        // a short stable name of the kind of problem, for tools ("unknown-command")
    std::string file;        // relative to the disk, with forward slashes
    int line = 0;            // 1-based; 0 when the problem has no place in a file
    int column = 0;          // 1-based; 0 when only the line is known
    bool aboutItem = false;  // whether itemName / itemIndex say which item it is about
    std::string itemName;    // empty for an unnamed item
    int itemIndex = -1;      // the item's place in construction order, from 0
    std::string attribute;   // the attribute the problem is in, if any
    std::string message;
    std::string suggestion;  // "did you mean"; empty when nothing is close

    // The compiler-style line: data/QuorvArt.XQD:12:5: error: item "b1" onSubmit: message (did you mean "x"?)
    std::string text() const;
    // The same finding as one JSON object on one line.
    std::string json() const;

    // Text quoted for a message: in double quotes, with control characters written as escapes so that
    // one finding stays one line.
    static std::string quoted(const std::string& text);
    // A JSON string literal; bytes that are not UTF-8 are written as the character of their code.
    static std::string jsonString(const std::string& bytes);
};

}  // namespace qa::check
