// The check report's wording, which vxtags and the editor share: each finding
// on its line, the first thousand only, then the count of the rest and the
// summary.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "deffile/check_report_lines.h"

namespace {

class KeptLines final : public vx::CheckReportLines {
 public:
  using CheckReportLines::CheckReportLines;
  std::vector<std::string> lines;

 private:
  void Line(const std::string& text) override { lines.push_back(text); }
  std::string Advice(vx::CheckFinding kind) const override {
    return kind == vx::CheckFinding::Utf8File ? "; convert it" : "";
  }
};

TEST(CheckReportLines, ShowsTheFirstThousandFindingsThenTheirCountAndTheSummary) {
  struct Report {
    std::uint64_t findings;
    std::size_t lines;          // all lines written
    const char* secondToLast;   // "" when the summary follows the last finding
  };
  static constexpr Report REPORTS[] = {
      {0, 1, ""},
      {1, 2, "a.def:2: message"},
      {1000, 1001, "a.def:1001: message"},
      {1001, 1002, "a.def: 1 more findings not shown"},
      {5000, 1002, "a.def: 4000 more findings not shown"},
  };
  for (const Report& r : REPORTS) {
    KeptLines report("a.def");
    for (std::uint64_t i = 0; i < r.findings; ++i) report.Finding(i + 2, vx::CheckFinding::EmptyText, "message");
    vx::CheckSummary summary;
    summary.folders = 3;
    summary.entries = 4;
    summary.findings = r.findings;
    report.Finish(summary);
    ASSERT_EQ(report.lines.size(), r.lines) << r.findings;
    EXPECT_EQ(report.lines.back(), "a.def: the loader adds 3 folders and 4 entries; " + std::to_string(r.findings) +
                                       " findings");
    if (r.secondToLast[0] != '\0') {
      EXPECT_EQ(report.lines[r.lines - 2], r.secondToLast) << r.findings;
    }
  }
}

TEST(CheckReportLines, AFindingEndsWithItsAdvice) {
  KeptLines report("x y.def");
  report.Finding(1, vx::CheckFinding::Utf8File, "the file is in UTF-8");
  EXPECT_EQ(report.lines, std::vector<std::string>{"x y.def:1: the file is in UTF-8; convert it"});
}

}  // namespace
