// The editor's command line with definition files named as the system
// compares names.
#pragma once
#include <windows.h>

#include "host/command_line.h"

namespace vxhost {

bool ParseCommandLine(int argc, const wchar_t* const* argv, CommandLine& options);

}  // namespace vxhost
