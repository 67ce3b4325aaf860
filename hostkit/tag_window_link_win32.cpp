#include "hostkit/tag_window_link_win32.h"

#include <cstring>

namespace vxhost {

bool TagWindowLink::Load(const wchar_t* libraryPath) {
  if (!module_) module_ = LoadLibraryW(libraryPath);
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

}  // namespace vxhost
