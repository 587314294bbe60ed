// JSON string literals for the trace and for the checker's findings, whatever bytes names and
// scripts hold.
#pragma once

#include <string>

namespace qa::trace {

class JsonText {
  public:
    // `bytes` as a quoted JSON string: valid UTF-8 passes through; any other byte is written as the
    // character of that code (\u0080 to \u00ff), so every line written stays valid JSON.
    static std::string quote(const std::string& bytes);
};

}  // namespace qa::trace
