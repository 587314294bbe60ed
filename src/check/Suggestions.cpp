// Edit distance and the closest candidate.
#include "check/Suggestions.h"

#include <algorithm>
#include <cctype>

namespace qa::check {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::size_t allowedEdits(std::size_t length) {
    return length <= 4 ? 1 : length <= 8 ? 2 : 3;
}

}  // namespace

std::size_t Suggestions::distance(const std::string& a, const std::string& b) {
    // Optimal string alignment over three rows.
    const std::size_t n = a.size(), m = b.size();
    std::vector<std::size_t> before(m + 1), previous(m + 1), current(m + 1);
    for (std::size_t j = 0; j <= m; ++j) previous[j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && lower(a[i - 1]) == lower(b[j - 2]) && lower(a[i - 2]) == lower(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[m];
}

std::string Suggestions::closest(const std::string& word, const std::vector<std::string>& candidates) {
    const std::string* best = nullptr;
    std::size_t bestDistance = 0;
    const std::size_t limit = allowedEdits(word.size());
    for (const std::string& c : candidates) {
        if (c == word || c.empty()) continue;
        // Lengths alone rule most candidates out before the table is filled.
        const std::size_t gap = c.size() > word.size() ? c.size() - word.size() : word.size() - c.size();
        if (gap > limit) continue;
        const std::size_t d = distance(word, c);
        if (d > limit || (d > 0 && d >= word.size())) continue;
        if (!best || d < bestDistance) {
            best = &c;
            bestDistance = d;
        }
    }
    return best ? *best : std::string();
}

}  // namespace qa::check
