#include "host/command_line.h"

namespace vxhost {

bool ParseCommandLine(int argc, const wchar_t* const* argv, DefinitionFileTest isDefinitionFile,
                      CommandLine& options) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    const bool definitionFile = isDefinitionFile(argument);
    if (argument == L"--demo") {
      if (i + 2 >= argc || options.demo || !options.documentPath.empty()) return false;
      options.demo = true;
      options.documentPath = argv[++i];
      options.outDir = argv[++i];
    } else if (argument == L"--recover" && i + 1 < argc && options.recoveryFile.empty()) {
      options.recoveryFile = argv[++i];
    } else if (argument == L"--tag-window") {
      options.openTagWindow = true;
    } else if (argument == L"--definition" && i + 1 < argc && options.definitionPath.empty()) {
      options.definitionPath = argv[++i];
    } else if (definitionFile && options.definitionPath.empty()) {
      options.definitionPath = argument;
    } else if (!definitionFile && argument.compare(0, 2, L"--") != 0 && options.documentPath.empty()) {
      options.documentPath = argument;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace vxhost
