#include "hostkit/definition_file_dialog_win32.h"

#include "hostkit/paths_win32.h"

namespace vxhost {
namespace {

const wchar_t DEFINITION_FILTER[] = L"定義ファイル (*.def)\0*.def\0すべてのファイル (*.*)\0*.*\0";
const wchar_t DEFINITION_DIALOG_TITLE[] = L"定義ファイルを開く";

// The longest path Windows has, in UTF-16 units with its terminating zero.
constexpr std::size_t LONGEST_PATH = 32768;

}  // namespace

OPENFILENAMEW FileDialog(HWND owner, const wchar_t* filter, std::wstring& path, DWORD flags) {
  path.resize(LONGEST_PATH, L'\0');
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = &path[0];
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  ofn.Flags = flags;
  return ofn;
}

std::wstring ChosenPath(const std::wstring& path) { return path.substr(0, path.find(L'\0')); }

std::wstring AskForDefinitionFilePath(HWND owner, const std::string& currentPath) {
  std::wstring path;
  const std::wstring folder = FolderOf(WidePath(currentPath));
  OPENFILENAMEW ofn =
      FileDialog(owner, DEFINITION_FILTER, path, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST);
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = DEFINITION_DIALOG_TITLE;
  return GetOpenFileNameW(&ofn) ? ChosenPath(path) : std::wstring();
}

std::string AskForDefinitionFile(HWND owner, const std::string& currentPath) {
  std::string narrow;
  const std::wstring chosen = AskForDefinitionFilePath(owner, currentPath);
  return !chosen.empty() && AddInPath(chosen, narrow) ? narrow : std::string();
}

}  // namespace vxhost
