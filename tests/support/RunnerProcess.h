// Runs the quorvart-run binary for end-to-end tests and reads what it wrote.
#pragma once

#include <string>
#include <vector>

namespace qa::test {

struct RunResult {
    int exitCode = -1;
    std::string output;  // standard output and standard error
};

// Runs quorvart-run with the arguments (each quoted for the shell). With a time limit, a run that
// has not ended by then is killed (exit code 124 or more); with an address-space limit (KiB, as
// `ulimit -v` takes it) the run may map no more than that.
RunResult runRunner(const std::vector<std::string>& args, int timeLimitSeconds = 0, long addressSpaceKiB = 0);

// The lines of a text file.
std::vector<std::string> readLines(const std::string& path);

// The lines that contain every one of the fragments.
std::vector<std::string> grep(const std::vector<std::string>& lines,
                              const std::vector<std::string>& fragments);

// A fresh temporary file name (not created).
std::string tempPath(const std::string& suffix);

}  // namespace qa::test
