// vxtags convert [--to-utf8] INPUT OUTPUT: a definition file between the UTF-8
// an author edits and the code page 932 the add-in reads. Refusals are
// printed as "INPUT:LINE:COLUMN: message" and leave OUTPUT as it was.
#include <cstdio>
#include <cstring>
#include <string>

#include "vxtags/commands.h"
#include "deffile/definition_convert.h"
#include "vxtags/file_access.h"

namespace {

// A definition file holds at most a few megabytes; anything far larger is
// not one, and is not worth holding in memory.
constexpr std::size_t LARGEST_INPUT = 64u << 20;

int Fail(const char* what, const std::string& path, const std::string& reason) {
  std::fprintf(stderr, "vxtags convert: %s %s: %s\n", what, path.c_str(), reason.c_str());
  return 2;
}

// Reads the whole input once, from a file or a pipe alike.
bool ReadInput(vxtags::InputFile& file, std::string& bytes, std::string& reason) {
  if (!file.IsOpen()) {
    reason = file.Reason();
    return false;
  }
  unsigned char chunk[65536];
  for (std::size_t n; (n = file.Read(chunk, sizeof chunk)) != 0;) {
    if (bytes.size() + n > LARGEST_INPUT) {
      reason = "File too large";
      return false;
    }
    bytes.append(reinterpret_cast<const char*>(chunk), n);
  }
  reason = file.Reason();
  return !file.Failed();
}

}  // namespace

int vxtags::RunConvertCommand(int argc, char** argv) {
  const bool toUtf8 = argc > 0 && std::strcmp(argv[0], "--to-utf8") == 0;
  if (toUtf8) {
    --argc;
    ++argv;
  }
  if (argc != 2) return Usage();
  const bool inputIsOption = argv[0][0] == '-' && std::strcmp(argv[0], vxtags::STANDARD_INPUT) != 0;
  if (inputIsOption || argv[1][0] == '-') return Usage();
  const std::string input = argv[0];
  const std::string output = argv[1];

  vxtags::InputFile file(input);
  std::string bytes;
  std::string reason;
  if (!ReadInput(file, bytes, reason)) return Fail("cannot read", input, reason);
  // Refusals of the output come before any finding: they hold whatever INPUT says.
  const vxtags::WriteResult allowed = vxtags::CheckOutputFile(output, file.Identity());
  if (allowed.outcome != vxtags::WriteOutcome::Written) return Fail("cannot write", output, allowed.reason);

  const vx::Conversion conversion = toUtf8 ? vx::ConvertDefinitionToUtf8(bytes) : vx::ConvertDefinitionToCp932(bytes);
  if (conversion.findingCount > 0) {
    for (const vx::ConvertFinding& finding : conversion.findings)
      std::printf("%s:%llu:%llu: %s\n", input.c_str(), static_cast<unsigned long long>(finding.line),
                  static_cast<unsigned long long>(finding.column), finding.message.c_str());
    const auto count = static_cast<unsigned long long>(conversion.findingCount);
    if (count > conversion.findings.size())
      std::printf("%s: %llu more findings not shown\n", input.c_str(), count - conversion.findings.size());
    std::printf("%s: %llu findings; %s was not written\n", input.c_str(), count, output.c_str());
    return 1;
  }
  const vxtags::WriteResult written = vxtags::ReplaceOutputFile(output, conversion.output, file.Identity());
  if (written.outcome != vxtags::WriteOutcome::Written) return Fail("cannot write", output, written.reason);
  return 0;
}
