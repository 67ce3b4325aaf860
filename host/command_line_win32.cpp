#include "host/command_line_win32.h"

#include "hostkit/paths_win32.h"

namespace vxhost {

bool ParseCommandLine(int argc, const wchar_t* const* argv, CommandLine& options) {
  return ParseCommandLine(argc, argv, &IsDefinitionFileName, options);
}

}  // namespace vxhost
