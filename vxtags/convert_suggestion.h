// The command that "vxtags check" suggests for a definition file saved in
// UTF-8, written so that the shell of the system it runs on takes it as it
// stands: POSIX quoting on Linux, cmd.exe's on Windows.
#pragma once
#include <string>

namespace vxtags {

enum class Shell { Posix, Cmd };

#ifdef _WIN32
inline constexpr Shell NATIVE_SHELL = Shell::Cmd;
#else
inline constexpr Shell NATIVE_SHELL = Shell::Posix;
#endif

// The path as one word of that shell, never taken for an option.
std::string ShellWord(const std::string& path, Shell shell);

// Where the converted file goes: "NAME.def.utf8" becomes "NAME.def", the
// naming the guide recommends; any other name gets ".cp932" before the
// extension of its last component. Never the source itself.
std::string ConvertedName(const std::string& path, Shell shell);

// "vxtags convert INPUT OUTPUT". An input that names no regular file
// (standard input "-", a pipe, a device) gives no name to derive the output
// from: the output is then the placeholder NAME.def.
std::string ConvertCommand(const std::string& input, bool regularFile, Shell shell);

}  // namespace vxtags
