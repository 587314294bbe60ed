// Ordering, counting and writing the findings.
#include "check/FindingReport.h"

#include <algorithm>
#include <tuple>

namespace qa::check {

void FindingReport::sort(const std::string& documentFile) {
    std::stable_sort(findings_.begin(), findings_.end(), [&](const Finding& a, const Finding& b) {
        return std::make_tuple(a.file != documentFile, a.file, a.line, a.column) <
               std::make_tuple(b.file != documentFile, b.file, b.line, b.column);
    });
}

int FindingReport::errors() const {
    return static_cast<int>(std::count_if(findings_.begin(), findings_.end(),
                                          [](const Finding& f) { return f.severity == Severity::Error; }));
}

int FindingReport::warnings() const {
    return static_cast<int>(findings_.size()) - errors();
}

std::string FindingReport::summary() const {
    const int e = errors(), w = warnings();
    if (e == 0 && w == 0) return "no problems found";
    auto count = [](int n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); };
    if (e > 0 && w > 0) return count(e, "error") + " and " + count(w, "warning") + " found";
    return (e > 0 ? count(e, "error") : count(w, "warning")) + " found";
}

void FindingReport::writeText(std::FILE* out) const {
    for (const Finding& f : findings_) std::fprintf(out, "%s\n", f.text().c_str());
    std::fprintf(out, "%s\n", summary().c_str());
}

void FindingReport::writeJson(std::FILE* out) const {
    for (const Finding& f : findings_) std::fprintf(out, "%s\n", f.json().c_str());
    std::fprintf(out, "{\"summary\":{\"errors\":%d,\"warnings\":%d}}\n", errors(), warnings());
}

}  // namespace qa::check
