// vxtags check DEFFILE: what the loader will make of a hand-written
// definition file, as "FILE:LINE: message" lines and a closing summary.
#include <cstdint>
#include <cstdio>
#include <string>

#include "deffile/definition_check.h"
#include "vxtags/commands.h"
#include "vxtags/convert_suggestion.h"
#include "vxtags/file_access.h"

namespace {

// A broken file can raise a finding on every line; past this many only the
// count is worth reading.
constexpr std::uint64_t SHOWN_FINDINGS = 1000;

class PrintedReport : public vx::CheckReport {
 public:
  PrintedReport(const char* path, bool regularFile) : path_(path), regularFile_(regularFile) {}
  void Finding(std::uint64_t line, vx::CheckFinding kind, const char* message) override {
    if (++count_ > SHOWN_FINDINGS) return;
    std::printf("%s:%llu: %s", path_, static_cast<unsigned long long>(line), message);
    if (kind == vx::CheckFinding::Utf8File)
      std::printf("; convert it with: %s",
                  vxtags::ConvertCommand(path_, regularFile_, vxtags::NATIVE_SHELL).c_str());
    std::printf("\n");
  }
  std::uint64_t Hidden() const { return count_ > SHOWN_FINDINGS ? count_ - SHOWN_FINDINGS : 0; }

 private:
  const char* path_;
  bool regularFile_;
  std::uint64_t count_ = 0;
};

}  // namespace

int vxtags::RunCheckCommand(int argc, char** argv) {
  if (argc != 1) return Usage();
  const char* path = argv[0];
  vxtags::InputFile file(path);
  if (!file.IsOpen()) {
    std::fprintf(stderr, "vxtags check: cannot read %s: %s\n", path, file.Reason().c_str());
    return 2;
  }
  PrintedReport report(path, file.IsRegularFile());
  const vx::CheckSummary summary = vx::CheckDefinitionStream(file, report);
  if (summary.readFailed) {
    if (summary.findings > 0)
      std::printf("%s: the check was cut short by a read error; the findings above cover only the part read\n",
                  path);
    std::fprintf(stderr, "vxtags check: cannot read %s: %s\n", path, file.Reason().c_str());
    return 2;
  }
  if (report.Hidden() > 0)
    std::printf("%s: %llu more findings not shown\n", path, static_cast<unsigned long long>(report.Hidden()));
  std::printf("%s: the loader adds %llu folders and %llu entries; %llu findings\n", path,
              static_cast<unsigned long long>(summary.folders),
              static_cast<unsigned long long>(summary.entries),
              static_cast<unsigned long long>(summary.findings));
  return summary.findings == 0 ? 0 : 1;
}
