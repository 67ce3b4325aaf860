// vxtags check DEFFILE: what the loader will make of a hand-written
// definition file, as "FILE:LINE: message" lines and a closing summary.
#include <cstdint>
#include <cstdio>

#include "deffile/byte_sources.h"
#include "deffile/definition_check.h"
#include "tools/vxtags/commands.h"

namespace {

// A broken file can raise a finding on every line; past this many only the
// count is worth reading.
constexpr std::uint64_t SHOWN_FINDINGS = 1000;

class PrintedReport : public vx::CheckReport {
 public:
  explicit PrintedReport(const char* path) : path_(path) {}
  void Finding(std::uint64_t line, vx::CheckFinding, const char* message) override {
    if (++count_ <= SHOWN_FINDINGS)
      std::printf("%s:%llu: %s\n", path_, static_cast<unsigned long long>(line), message);
  }
  std::uint64_t Hidden() const { return count_ > SHOWN_FINDINGS ? count_ - SHOWN_FINDINGS : 0; }

 private:
  const char* path_;
  std::uint64_t count_ = 0;
};

}  // namespace

int vxtags::RunCheckCommand(int argc, char** argv) {
  if (argc != 1) return Usage();
  const char* path = argv[0];
  vx::FileByteSource file(path);
  if (!file.IsOpen()) {
    std::fprintf(stderr, "vxtags check: cannot open %s\n", path);
    return 2;
  }
  PrintedReport report(path);
  const vx::CheckSummary summary = vx::CheckDefinitionStream(file, report);
  if (summary.readFailed) {
    if (summary.findings > 0)
      std::printf("%s: the check was cut short by a read error; the findings above cover only the part read\n",
                  path);
    std::fprintf(stderr, "vxtags check: cannot read %s\n", path);
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
