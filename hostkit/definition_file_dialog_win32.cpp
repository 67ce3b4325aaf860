#include "hostkit/definition_file_dialog_win32.h"

#include "hostkit/paths_win32.h"

namespace vxhost {
namespace {

const wchar_t DEFINITION_FILTER[] = L"定義ファイル (*.def)\0*.def\0すべてのファイル (*.*)\0*.*\0";
const wchar_t DEFINITION_DIALOG_TITLE[] = L"定義ファイルを開く";

}  // namespace

OPENFILENAMEW FileDialog(HWND owner, const wchar_t* filter, wchar_t* path, DWORD flags) {
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  ofn.Flags = flags;
  return ofn;
}

std::string AskForDefinitionFile(HWND owner, const std::string& currentPath) {
  wchar_t path[MAX_PATH] = {};
  const std::wstring folder = FolderOf(WidePath(currentPath));
  OPENFILENAMEW ofn =
      FileDialog(owner, DEFINITION_FILTER, path, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = DEFINITION_DIALOG_TITLE;
  return GetOpenFileNameW(&ofn) ? NarrowPath(path) : std::string();
}

}  // namespace vxhost
