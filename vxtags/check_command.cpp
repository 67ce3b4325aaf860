// vxtags check DEFFILE: what the loader will make of a hand-written
// definition file, as "FILE:LINE: message" lines and a closing summary.
#include <cstdio>
#include <string>

#include "deffile/check_report_lines.h"
#include "vxtags/commands.h"
#include "vxtags/convert_suggestion.h"
#include "vxtags/file_access.h"

namespace {

class PrintedReport final : public vx::CheckReportLines {
 public:
  PrintedReport(const char* path, bool regularFile)
      : CheckReportLines(path), input_(path), regularFile_(regularFile) {}

 private:
  std::string input_;
  bool regularFile_;
  void Line(const std::string& text) override { std::printf("%s\n", text.c_str()); }
  std::string Advice(vx::CheckFinding kind) const override {
    if (kind != vx::CheckFinding::Utf8File) return std::string();
    return "; convert it with: " + vxtags::ConvertCommand(input_, regularFile_, vxtags::NATIVE_SHELL);
  }
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
  report.Finish(summary);
  return summary.findings == 0 ? 0 : 1;
}
