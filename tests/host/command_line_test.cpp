// The editor's command line: which argument is the definition file, which
// the document, and what is refused.
#include "host/command_line.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

namespace vxhost {
namespace {

// The file name ends in ".def", in any case, as the system's test has it.
bool EndsInDef(const std::wstring& path) {
  const std::size_t name = path.find_last_of(L"\\/:");
  const std::size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name)) return false;
  std::wstring extension = path.substr(dot);
  for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
  return extension == L".def";
}

// The definition-file argument the readmes show keeps working beside a
// document named on the command line.
struct CommandLineCase {
  std::vector<const wchar_t*> arguments;
  bool accepted;
  const wchar_t* definition;
  const wchar_t* document;
  bool demo;
  const wchar_t* outDir;
  const wchar_t* recovery;
};

TEST(CommandLine, NamesADefinitionFileByItsExtensionAndADocument) {
  static const CommandLineCase CASES[] = {
      {{L"--tag-window", L"C:\\x\\mytags.def"},          true,  L"C:\\x\\mytags.def", L"",              false, L"",    L""},
      {{L"page.html", L"mytags.DEF"},                      true,  L"mytags.DEF",        L"page.html",     false, L"",    L""},
      {{L"--definition", L"tags.txt", L"page.def.html"},   true,  L"tags.txt",          L"page.def.html", false, L"",    L""},
      {{},                                                 true,  L"",                  L"",              false, L"",    L""},
      {{L"--demo", L"doc.html", L"out", L"a.def"},         true,  L"a.def",             L"doc.html",      true,  L"out", L""},
      {{L"--recover", L"w.vxrecovery"},                    true,  L"",                  L"",              false, L"",    L"w.vxrecovery"},
      {{L"a.def", L"b.def"},                               false, L"",                  L"",              false, L"",    L""},
      {{L"a.html", L"b.html"},                             false, L"",                  L"",              false, L"",    L""},
      {{L"--unknown"},                                     false, L"",                  L"",              false, L"",    L""},
      {{L"--demo", L"doc.html"},                           false, L"",                  L"",              false, L"",    L""},
      {{L"a.html", L"--demo", L"doc.html", L"out"},        false, L"",                  L"",              false, L"",    L""},
      {{L"--definition"},                                  false, L"",                  L"",              false, L"",    L""},
      {{L"--recover", L"a", L"--recover", L"b"},           false, L"",                  L"",              false, L"",    L""},
  };
  for (const CommandLineCase& c : CASES) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - CASES));
    std::vector<const wchar_t*> argv{L"vxhost.exe"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    CommandLine options;
    ASSERT_EQ(ParseCommandLine(static_cast<int>(argv.size()), argv.data(), &EndsInDef, options), c.accepted);
    if (!c.accepted) continue;
    EXPECT_EQ(options.definitionPath, c.definition);
    EXPECT_EQ(options.documentPath, c.document);
    EXPECT_EQ(options.demo, c.demo);
    EXPECT_EQ(options.outDir, c.outDir);
    EXPECT_EQ(options.recoveryFile, c.recovery);
  }
}

}  // namespace
}  // namespace vxhost
