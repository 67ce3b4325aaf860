#include "deffile/check_report_lines.h"

namespace vx {

void CheckReportLines::Finding(std::uint64_t line, CheckFinding kind, const char* message) {
  if (++count_ > SHOWN_CHECK_FINDINGS) return;
  Line(path_ + ":" + std::to_string(line) + ": " + message + Advice(kind));
}

void CheckReportLines::Finish(const CheckSummary& summary) {
  if (count_ > SHOWN_CHECK_FINDINGS)
    Line(path_ + ": " + std::to_string(count_ - SHOWN_CHECK_FINDINGS) + " more findings not shown");
  Line(path_ + ": the loader adds " + std::to_string(summary.folders) + " folders and " +
       std::to_string(summary.entries) + " entries; " + std::to_string(summary.findings) + " findings");
}

}  // namespace vx
