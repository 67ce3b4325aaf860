// Paths of the hosts: folders, files beside the program, absolute
// paths. Narrow paths are in the system code page (what the ...A calls and the
// add-in take); documents use wide paths, which hold any name.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace vxhost {

// The definition file a host starts with, beside the program.
inline constexpr char DEFAULT_DEFINITION_FILE[] = "html5.def";

// The folder part of a path, with its final separator; empty for a bare name.
std::string FolderOf(const std::string& path);
std::wstring FolderOf(const std::wstring& path);
// The running program's own file, at whatever length.
std::wstring ProgramPath();
// The named file in the folder of the running program.
std::string BesideProgram(const char* fileName);
std::wstring BesideProgram(const wchar_t* fileName);
// The path made absolute: the file dialogs move the current folder, and the
// tag window reads its definition file at every opening, so a relative name
// must not follow them.
std::string FullPath(const char* path);
std::wstring FullPath(const std::wstring& path);

// A definition file is told from a document by its extension, .def.
bool IsDefinitionFileName(const std::wstring& path);

// Conversions between wide paths and the system code page's narrow ones.
std::wstring WidePath(const std::string& path);
std::string NarrowPath(const std::wstring& path);

// The add-in takes its definition file's path in the system code page, at
// most this many bytes.
inline constexpr std::size_t MAX_ADD_IN_PATH_BYTES = 299;
// A path made full, as the add-in can take it: in the system code page
// character for character, or else by its short (8.3) name where the file
// system gives it one. False when neither spells it (a Japanese folder on a
// code page 1252 system without short names): the add-in would read "?" in
// its place.
bool AddInPath(const std::wstring& path, std::string& narrow);

}  // namespace vxhost
