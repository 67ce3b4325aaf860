#include "host/tag_window_link_win32.h"

#include <cstring>

namespace vxhost {

bool TagWindowLink::Load(const char* libraryPath) {
  if (!module_) module_ = LoadLibraryA(libraryPath);
  if (module_ && !createHtmlWindow_) {
    createHtmlWindow_ =
        reinterpret_cast<CreateHtmlWindowFunction>(reinterpret_cast<void*>(GetProcAddress(module_, "_CreateHtmlWindow")));
  }
  return IsLoaded();
}

bool TagWindowLink::IsLoaded() const { return createHtmlWindow_ != nullptr; }

bool TagWindowLink::Open(TWindow& host, HWND edit, const char* definitionPath) {
  return createHtmlWindow_ && createHtmlWindow_(&host, edit, definitionPath ? definitionPath : "");
}

void TagWindowLink::Close() {
  if (createHtmlWindow_) createHtmlWindow_(nullptr, nullptr, "");
}

namespace {

struct OwnedSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindOwned(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<OwnedSearch*>(lParam);
  char name[32] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (GetWindow(hwnd, GW_OWNER) == search->owner && std::strcmp(name, TWindow::DefaultClassName()) == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND TagWindowLink::FindTagWindow(HWND hostFrame) {
  if (!hostFrame) return nullptr;
  OwnedSearch search{hostFrame, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindOwned, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string FolderOf(const std::string& path) {
  // The second byte of a double-byte character may be 0x5C, so separators are
  // found character by character.
  std::size_t folderEnd = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (path[i] == '\\' || path[i] == '/') {
      folderEnd = i + 1;
    }
  }
  return path.substr(0, folderEnd);
}

std::string BesideProgram(const char* fileName) {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return fileName;
  return FolderOf(std::string(path, length)) + fileName;
}

}  // namespace vxhost
