// Running the runner binary.
#include "support/RunnerProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace qa::test {

namespace {
std::string shellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
}  // namespace

RunResult runRunner(const std::vector<std::string>& args, int timeLimitSeconds, long addressSpaceKiB) {
    std::string command = shellQuote(QA_RUNNER_EXE);
    if (timeLimitSeconds > 0) command = "timeout -k 5 " + std::to_string(timeLimitSeconds) + " " + command;
    if (addressSpaceKiB > 0) command = "ulimit -v " + std::to_string(addressSpaceKiB) + " && " + command;
    for (const std::string& a : args) command += " " + shellQuote(a);
    command += " 2>&1";
    RunResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) result.output.append(buf, n);
    int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<std::string> readLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> grep(const std::vector<std::string>& lines,
                              const std::vector<std::string>& fragments) {
    std::vector<std::string> out;
    for (const std::string& l : lines) {
        bool all = true;
        for (const std::string& f : fragments) all = all && l.find(f) != std::string::npos;
        if (all) out.push_back(l);
    }
    return out;
}

std::string tempPath(const std::string& suffix) {
    static std::atomic<int> counter{0};
    return (std::filesystem::temp_directory_path() /
            ("quorvart-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + suffix))
        .string();
}

}  // namespace qa::test
