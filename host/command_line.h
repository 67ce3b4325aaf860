// What vxhost.exe is asked to do by its command line (read as UTF-16, so that
// a document's name is whole whatever the system code page):
//   vxhost.exe [--tag-window] [definition-file.def | --definition FILE] [document]
//   vxhost.exe --demo DOCUMENT OUT-DIR [definition-file.def | --definition FILE]
//   vxhost.exe --recover RECOVERY-FILE [...]   (an editor starts another for
//     each further work the user restores at start-up)
// A file named .def is the definition file, any other the document to open.
#pragma once
#include <string>

namespace vxhost {

struct CommandLine {
  bool demo = false;
  bool openTagWindow = false;
  std::wstring documentPath;
  std::wstring outDir;
  std::wstring definitionPath;  // empty: the HTML5 library beside the program
  std::wstring recoveryFile;    // restored without asking: the user already agreed
};

// Whether a path names a definition file, as the system compares names.
using DefinitionFileTest = bool (*)(const std::wstring& path);

// False for anything the usage above does not allow.
bool ParseCommandLine(int argc, const wchar_t* const* argv, DefinitionFileTest isDefinitionFile,
                      CommandLine& options);

}  // namespace vxhost
