// vxtags check DEFFILE: what the loader will make of a hand-written
// definition file, as "FILE:LINE: message" lines and a closing summary.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "deffile/definition_check.h"
#include "tools/vxtags/commands.h"
#include "tools/vxtags/file_access.h"

namespace {

// A broken file can raise a finding on every line; past this many only the
// count is worth reading.
constexpr std::uint64_t SHOWN_FINDINGS = 1000;

// A path as the shell takes it back: quoted unless every byte is plain, and
// never taken for an option.
std::string ShellWord(const std::string& path) {
  if (!path.empty() && path[0] == '-') return ShellWord("./" + path);
  if (!path.empty() && path.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                              "0123456789._/+-:@,=") == std::string::npos)
    return path;
  std::string quoted = "'";
  for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Where the converted file goes: "NAME.def.utf8" becomes "NAME.def", the
// naming the guide recommends; any other name gets ".cp932" before its
// extension. Never the source itself, which convert refuses to overwrite.
std::string ConvertedName(const std::string& path) {
  constexpr const char SOURCE_SUFFIX[] = ".utf8";
  const std::size_t suffix = std::strlen(SOURCE_SUFFIX);
  const std::size_t name = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
  if (path.size() > name + suffix && path.compare(path.size() - suffix, suffix, SOURCE_SUFFIX) == 0)
    return path.substr(0, path.size() - suffix);
  const std::size_t dot = path.rfind('.');
  const std::size_t stem = dot == std::string::npos || dot <= name ? path.size() : dot;
  return path.substr(0, stem) + ".cp932" + path.substr(stem);
}

class PrintedReport : public vx::CheckReport {
 public:
  explicit PrintedReport(const char* path) : path_(path) {}
  void Finding(std::uint64_t line, vx::CheckFinding kind, const char* message) override {
    if (++count_ > SHOWN_FINDINGS) return;
    std::printf("%s:%llu: %s", path_, static_cast<unsigned long long>(line), message);
    if (kind == vx::CheckFinding::Utf8File)
      std::printf("; convert it with: vxtags convert %s %s", ShellWord(path_).c_str(),
                  ShellWord(ConvertedName(path_)).c_str());
    std::printf("\n");
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
  vxtags::InputFile file(path);
  if (!file.IsOpen()) {
    std::fprintf(stderr, "vxtags check: cannot read %s: %s\n", path, file.Reason().c_str());
    return 2;
  }
  PrintedReport report(path);
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
