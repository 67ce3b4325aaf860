#include "host/tag_tree_reader_win32.h"

namespace vxhost {

HWND FindTagTree(HWND tagWindow) {
  return tagWindow ? FindWindowExA(tagWindow, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, WPARAM relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// Asked for in UTF-16 and given back as the code page 932 bytes the add-in
// inserted, whatever the system's code page: the ANSI query would answer in
// that code page instead.
std::string ItemCaption(HWND tree, HTREEITEM item) {
  wchar_t wide[256] = {};
  TVITEMW tv = {};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = wide;
  tv.cchTextMax = 255;  // the control writes no terminating zero when it cuts
  SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  char text[512] = {};
  WideCharToMultiByte(932, 0, wide, -1, text, sizeof text - 1, nullptr, nullptr);
  return text;
}

// Iterative, so that however deep the folders nest the stack stays flat.
HTREEITEM FindInPreOrder(HWND tree, const std::function<bool(HTREEITEM)>& stop) {
  for (HTREEITEM item = NextItem(tree, nullptr, TVGN_ROOT); item;) {
    if (stop(item)) return item;
    HTREEITEM next = NextItem(tree, item, TVGN_CHILD);
    for (HTREEITEM up = item; !next && up; up = NextItem(tree, up, TVGN_PARENT)) {
      next = NextItem(tree, up, TVGN_NEXT);
    }
    item = next;
  }
  return nullptr;
}

}  // namespace vxhost
