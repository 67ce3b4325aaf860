#include "host/tag_tree_reader_win32.h"

namespace vxhost {

HWND FindTagTree(HWND tagWindow) {
  return tagWindow ? FindWindowExA(tagWindow, nullptr, WC_TREEVIEWA, nullptr) : nullptr;
}

HTREEITEM NextItem(HWND tree, HTREEITEM item, WPARAM relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string ItemCaption(HWND tree, HTREEITEM item) {
  char text[256] = {};
  TVITEMA tv = {};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = text;
  tv.cchTextMax = sizeof text - 1;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
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

HTREEITEM FindItemByCaption(HWND tree, const std::string& caption) {
  return FindInPreOrder(tree, [&](HTREEITEM item) { return ItemCaption(tree, item) == caption; });
}

}  // namespace vxhost
