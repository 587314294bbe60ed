// "Did you mean": the candidate closest to a misspelt word, by edit distance, when it is close enough
// that it is likely what was meant.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qa::check {

class Suggestions {
  public:
    // Edits (insertions, deletions, substitutions, swaps of neighbours) between a and b; a letter
    // that differs only in case costs nothing.
    static std::size_t distance(const std::string& a, const std::string& b);

    // The candidate closest to the word, or empty when none is close: a spelling that differs only in
    // case always is; otherwise at most one edit for words up to four letters, two up to eight, three
    // beyond. Ties go to the earlier candidate. The word itself is never suggested.
    static std::string closest(const std::string& word, const std::vector<std::string>& candidates);
};

}  // namespace qa::check
