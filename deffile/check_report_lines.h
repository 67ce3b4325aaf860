// The definition-file check's report as lines of text, worded once for every
// program that shows it: "PATH:LINE: message" for each of the first
// SHOWN_CHECK_FINDINGS findings, then how many more there were, then what
// the loader adds.
#pragma once
#include <cstdint>
#include <string>

#include "deffile/definition_check.h"

namespace vx {

// A broken file can raise a finding on every line; past this many only the
// count is worth reading.
inline constexpr std::uint64_t SHOWN_CHECK_FINDINGS = 1000;

class CheckReportLines : public CheckReport {
 public:
  // path is the file as its reader named it; every line starts with it.
  explicit CheckReportLines(std::string path) : path_(std::move(path)) {}

  void Finding(std::uint64_t line, CheckFinding kind, const char* message) final;
  // The closing lines, once the check has read the whole file.
  void Finish(const CheckSummary& summary);

 private:
  // One line of the report, without its end.
  virtual void Line(const std::string& text) = 0;
  // What follows a finding's message on its line, such as a remedy.
  virtual std::string Advice(CheckFinding) const { return std::string(); }

  std::string path_;
  std::uint64_t count_ = 0;
};

}  // namespace vx
