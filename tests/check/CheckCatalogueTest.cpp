// The catalogue of authored mistakes (tests/scenes/check/*): each small disk makes --check print
// exactly its expected.txt, with the exit code its findings call for.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/RunnerProcess.h"
#include "support/TestFiles.h"

namespace qa::test {
namespace {

const std::string kCatalogue = std::string(QA_TEST_SCENES) + "/check";

std::vector<std::string> mistakes() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(kCatalogue))
        if (entry.is_directory()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CheckCatalogue : public ::testing::TestWithParam<std::string> {};

TEST_P(CheckCatalogue, PrintsTheExpectedFinding) {
    const std::string disk = kCatalogue + "/" + GetParam();
    const std::string expected = bytesOf(disk + "/expected.txt");
    ASSERT_FALSE(expected.empty()) << disk;
    RunResult r = runRunner({disk, "--check"});
    EXPECT_EQ(r.output, expected);
    // Errors fail the check; warnings alone do not.
    const std::string summary = expected.substr(expected.rfind('\n', expected.size() - 2) + 1);
    EXPECT_EQ(r.exitCode, summary.find("error") != std::string::npos ? 1 : 0) << summary;
}

INSTANTIATE_TEST_SUITE_P(Mistakes, CheckCatalogue, ::testing::ValuesIn(mistakes()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

TEST(CheckCatalogueSize, HoldsAtLeastTwentyFiveMistakesOfBothKinds) {
    int errors = 0, warnings = 0;
    for (const std::string& m : mistakes()) {
        const std::string expected = bytesOf(kCatalogue + "/" + m + "/expected.txt");
        errors += expected.find(": error: ") != std::string::npos;
        warnings += expected.find(": warning: ") != std::string::npos;
    }
    EXPECT_GE(errors + warnings, 25);
    EXPECT_GE(errors, 15);
    EXPECT_GE(warnings, 10);
}

TEST(CheckOutput, JsonLinesCarryTheSameFindingAndASummary) {
    RunResult r = runRunner({kCatalogue + "/unknown-command", "--check", "--format", "json"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.output,
              "{\"file\":\"data/QuorvArt.XQD\",\"line\":4,\"column\":48,\"severity\":\"error\","
              "\"code\":\"unknown-command\",\"item\":\"b1\",\"index\":0,\"attribute\":\"onSubmit\","
              "\"message\":\"unknown command \\\"ActivateSingel\\\"\",\"suggestion\":\"ActivateSingle\","
              "\"text\":\"data/QuorvArt.XQD:4:48: error: item \\\"b1\\\" onSubmit: unknown command "
              "\\\"ActivateSingel\\\" (did you mean \\\"ActivateSingle\\\"?)\"}\n"
              "{\"summary\":{\"errors\":1,\"warnings\":0}}\n");
    RunResult clean = runRunner({std::string(QA_SOURCE_DIR) + "/demo", "--check", "--format", "json"});
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(clean.output, "{\"summary\":{\"errors\":0,\"warnings\":0}}\n");
    EXPECT_EQ(runRunner({kCatalogue + "/unknown-command", "--check", "--format", "xml"}).exitCode, 2);
}

TEST(CheckOutput, WarningsAloneFindProblemsButPass) {
    RunResult r = runRunner({kCatalogue + "/show-true", "--check"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.output.find("1 warning found"), std::string::npos);
}

TEST(CheckOutput, ManyFindingsComeInDocumentOrderWithTheirCounts) {
    // Two mistakes of the catalogue in one document: errors and warnings counted apart.
    const std::string disk = tempPath("-check");
    std::filesystem::create_directories(disk + "/data");
    std::ofstream(disk + "/data/QuorvArt.XQD") << "<scene>\n"
                                                  "  <item name=\"a\" x=\"1O\" onSubmit=\"Hide b\"/>\n"
                                                  "  <item name=\"b\" show=\"yes\" onSubmit=\"hide a\"/>\n"
                                                  "</scene>\n";
    RunResult r = runRunner({disk, "--check"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(
        r.output,
        "data/QuorvArt.XQD:2:21: warning: item \"a\" x: \"1O\" is not a number: it reads as 1\n"
        "data/QuorvArt.XQD:3:24: warning: item \"b\" show: \"yes\" hides the item: only \"true\", \"TRUE\" "
        "or a whole number above 0 shows it (did you mean \"true\"?)\n"
        "data/QuorvArt.XQD:3:39: error: item \"b\" onSubmit: unknown command \"hide\" (did you mean "
        "\"Hide\"?)\n"
        "1 error and 2 warnings found\n");
    std::filesystem::remove_all(disk);
}

}  // namespace
}  // namespace qa::test
