// Tools → 定義ファイルを確認: what "vxtags check" reports about the definition
// file that the tag window uses, shown in a dialog whose text the user can
// select and copy. The add-in itself says nothing about its file.
#pragma once
#include <windows.h>

#include <string>

namespace vxhost {

// The report as the dialog shows it, lines ending in CR LF: the findings as
// "PATH:LINE: message" and the summary line, both worded as vxtags check
// words them, after a line saying whether anything was found.
std::wstring DefinitionCheckReport(const std::string& path);

// The read-only edit control that holds the report in the dialog.
inline constexpr int CHECK_REPORT_ID = 1001;

// The modal dialog over owner; returns when the user closes it.
void ShowDefinitionCheck(HWND owner, const std::wstring& report);

}  // namespace vxhost
