// The open dialog that both hosts show for a definition file, and the fields
// every open and save dialog of theirs shares.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>

namespace vxhost {

// The fields the open and save dialogs share. path is made room for the
// longest path Windows has and receives the chosen file (ChosenPath reads
// it). Wide, so that the dialog's texts and the chosen name are right
// whatever the system code page.
OPENFILENAMEW FileDialog(HWND owner, const wchar_t* filter, std::wstring& path, DWORD flags);
std::wstring ChosenPath(const std::wstring& path);

// Asks for a definition file, starting in the folder of the current one.
// Returns the chosen file's path as chosen, or an empty string when the user
// cancelled.
std::wstring AskForDefinitionFilePath(HWND owner, const std::string& currentPath);
// The same as the add-in takes it (AddInPath): empty also when the chosen
// path cannot be given to the add-in.
std::string AskForDefinitionFile(HWND owner, const std::string& currentPath);

}  // namespace vxhost
