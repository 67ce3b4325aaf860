// Names of files as the editor hands them to the file system: paths of any
// length, and the names Windows keeps for devices.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace vxhost {

// From this length on a path takes the "\\?\" form: the plain form stops at
// 260 characters, and a folder's at 248 (room for a file name of 8.3).
inline constexpr std::size_t LONG_PATH_FROM = 248;

// A full path (as the system made it full) in the form the file calls take
// whatever its length: "C:\..." and "\\server\share\..." of LONG_PATH_FROM
// characters or more become "\\?\C:\..." and "\\?\UNC\server\share\..." with
// every "/" written as "\" (that form skips the system's own clean-up). A
// shorter path, a relative one or one already in a "\\?\" or "\\.\" form is
// returned as it is.
std::wstring ExtendedLengthPath(const std::wstring& fullPath);

// Whether a path's file name is a device's (CON, PRN, AUX, NUL, COM1-9,
// LPT1-9, CONIN$, CONOUT$), whatever its case, its extension or trailing
// dots and spaces: "aux.html" opens the device, never a file.
bool IsDeviceName(std::wstring_view path);

}  // namespace vxhost
