// Every option the three programs' usage texts name is described in their manual pages, and both
// tools answer --version.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "app/CommandLine.h"
#include "font/FontToolOptions.h"
#include "runner/Runner.h"
#include "support/RunnerProcess.h"

namespace qa::test {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::set<std::string> optionsIn(const std::string& usage) {
    std::set<std::string> names;
    const std::regex option("--[a-z][a-z-]*");
    for (auto it = std::sregex_iterator(usage.begin(), usage.end(), option); it != std::sregex_iterator();
         ++it)
        names.insert(it->str());
    return names;
}

// An option as a manual page writes it: every dash escaped.
std::string asRoff(const std::string& option) {
    std::string out;
    for (char c : option) out += c == '-' ? std::string("\\-") : std::string(1, c);
    return out;
}

TEST(ManualPages, DescribeEveryOptionOfTheUsage) {
    const struct {
        const char* page;
        std::string usage;
    } programs[] = {
        {"quorvart.1", app::CommandLine::usage()},
        {"quorvart-run.1", runner::RunnerOptions::usage()},
        {"quorvart-font.1", font::FontToolOptions::usage()},
    };
    for (const auto& p : programs) {
        const std::string page = readFile(std::string(QA_SOURCE_DIR) + "/docs/man/" + p.page);
        ASSERT_FALSE(page.empty()) << p.page;
        const std::set<std::string> options = optionsIn(p.usage);
        EXPECT_TRUE(options.count("--help") && options.count("--version")) << p.page;
        for (const std::string& option : options) {
            // Described in an entry of its own (a tagged paragraph opening with it).
            EXPECT_TRUE(page.find("\n.B " + asRoff(option) + "\n") != std::string::npos ||
                        page.find("\n.BI " + asRoff(option) + " ") != std::string::npos ||
                        page.find("\n.BR " + asRoff(option) + " ") != std::string::npos)
                << p.page << " lacks " << option;
        }
    }
}

TEST(ManualPages, ToolsAnswerVersionAndRefuseAFormatWithoutACheck) {
    RunResult r = runRunner({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.output, "quorvart-run 1.1\n");
    r = runRunner({"--format", "json"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.output.find("quorvart-run: --format applies to --check only"), std::string::npos) << r.output;
    const std::string out = tempPath(".txt");
    const int code = std::system((std::string(QA_FONT_EXE) + " --version >" + out + " 2>&1").c_str());
    EXPECT_TRUE(WIFEXITED(code) && WEXITSTATUS(code) == 0);
    EXPECT_EQ(readFile(out), "quorvart-font 1.1\n");
    std::remove(out.c_str());
}

}  // namespace
}  // namespace qa::test
