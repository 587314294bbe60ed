// The findings of one check, in the order an author reads them, written as compiler-style lines or
// as JSON lines, with the summary and the exit code.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "check/Finding.h"

namespace qa::check {

class FindingReport {
  public:
    void add(Finding finding) { findings_.push_back(std::move(finding)); }

    // Sorts: the scene document first, then every other file by name; within a file by line and
    // column; findings at the same place keep the order they were found in.
    void sort(const std::string& documentFile);

    const std::vector<Finding>& findings() const { return findings_; }
    int errors() const;
    int warnings() const;
    // 1 when there is an error, else 0 (warnings alone pass).
    int exitCode() const { return errors() > 0 ? 1 : 0; }

    // "no problems found", or the counts: "2 errors and 1 warning found".
    std::string summary() const;
    // One line per finding, then the summary line.
    void writeText(std::FILE* out) const;
    // One JSON object per finding, then {"summary":{"errors":E,"warnings":W}}.
    void writeJson(std::FILE* out) const;

  private:
    std::vector<Finding> findings_;
};

}  // namespace qa::check
