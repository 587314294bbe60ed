// The report's order, counts, summary and exit code.
#include <gtest/gtest.h>

#include "check/FindingReport.h"

namespace qa::check {
namespace {

Finding at(const std::string& file, int line, int column, Severity severity, const std::string& message) {
    Finding f;
    f.file = file;
    f.line = line;
    f.column = column;
    f.severity = severity;
    f.message = message;
    return f;
}

TEST(FindingReport, TheDocumentComesFirstThenOtherFilesEachByPlace) {
    FindingReport report;
    report.add(at("data/Quorv Part", 0, 0, Severity::Warning, "music"));
    report.add(at("data/QuorvArt.XQD", 9, 1, Severity::Error, "late"));
    report.add(at("data/QuorvArt.XQD", 2, 7, Severity::Error, "second"));
    report.add(at("data/QuorvArt.XQD", 2, 3, Severity::Warning, "first"));
    report.add(at("data/QuorvArt.XQD", 2, 3, Severity::Error, "same place, found later"));
    report.sort("data/QuorvArt.XQD");
    std::vector<std::string> order;
    for (const Finding& f : report.findings()) order.push_back(f.message);
    EXPECT_EQ(order,
              (std::vector<std::string>{"first", "same place, found later", "second", "late", "music"}));
    EXPECT_EQ(report.errors(), 3);
    EXPECT_EQ(report.warnings(), 2);
    EXPECT_EQ(report.summary(), "3 errors and 2 warnings found");
    EXPECT_EQ(report.exitCode(), 1);
}

TEST(FindingReport, SummaryAndExitCode) {
    FindingReport none;
    EXPECT_EQ(none.summary(), "no problems found");
    EXPECT_EQ(none.exitCode(), 0);
    FindingReport warned;
    warned.add(at("data/QuorvArt.XQD", 1, 1, Severity::Warning, "w"));
    EXPECT_EQ(warned.summary(), "1 warning found");
    EXPECT_EQ(warned.exitCode(), 0);
    FindingReport failed;
    failed.add(at("data/QuorvArt.XQD", 1, 1, Severity::Error, "e"));
    EXPECT_EQ(failed.summary(), "1 error found");
}

TEST(Finding, OneLineWhateverTheNamesHold) {
    Finding f =
        at("data/QuorvArt.XQD", 3, 0, Severity::Error, "unknown command " + Finding::quoted("Hide\na"));
    f.aboutItem = true;
    f.itemIndex = 4;
    f.attribute = "onSubmit";
    EXPECT_EQ(f.text(), "data/QuorvArt.XQD:3: error: item #4 onSubmit: unknown command \"Hide\\na\"");
    f.itemName = "caf\xE9";  // not UTF-8: JSON still valid
    EXPECT_NE(f.json().find("\"item\":\"caf\\u00e9\""), std::string::npos) << f.json();
    EXPECT_EQ(f.json().find('\n'), std::string::npos);
}

}  // namespace
}  // namespace qa::check
