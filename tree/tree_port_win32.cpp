#include "tree/tree_port_win32.h"

#include <cstddef>

#include "tree/tag_tree_win32.h"

namespace vx {
namespace {

// What the 32-bit tree-view control reads from us, pinned in the shipped build.
static_assert(sizeof(void*) != 4 ||
              (sizeof(TVITEMA) == 40 && offsetof(TVITEMA, pszText) == 16 &&
               offsetof(TVITEMA, lParam) == 36));

constexpr int ITEM_CAPTION_SIZE = 256;

// Receives the caption of every queried item. Nothing reads it: the query is
// made for the item value, and the control insists on somewhere to put the text.
char ItemCaptionBuffer[ITEM_CAPTION_SIZE];

HTREEITEM AsHandle(TreeItem item) { return reinterpret_cast<HTREEITEM>(item); }
TreeItem AsItem(HTREEITEM handle) { return reinterpret_cast<TreeItem>(handle); }

}  // namespace

TreeItem Win32TreePort::InsertItem(TreeItem parent, const char* caption, TreeItem insertAfter,
                                   std::int32_t image, std::int32_t selectedImage,
                                   std::int32_t value) {
  return AsItem(InsertTreeItem(AsHandle(parent), caption, AsHandle(insertAfter), image, selectedImage,
                               tree_, value));
}

TreeItem Win32TreePort::CaretItem() {
  return static_cast<TreeItem>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

TreeItem Win32TreePort::HitTest(int x, int y) {
  TVHITTESTINFO hit{};
  hit.pt.x = x;
  hit.pt.y = y;
  return static_cast<TreeItem>(
      SendMessageA(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

bool Win32TreePort::QueryItemValue(TreeItem item, std::int32_t* value) {
  TVITEMA query{};
  query.mask = TVIF_TEXT | TVIF_PARAM;
  query.hItem = AsHandle(item);
  query.pszText = ItemCaptionBuffer;
  query.cchTextMax = ITEM_CAPTION_SIZE;
  if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query))) return false;
  *value = static_cast<std::int32_t>(query.lParam);
  return true;
}

bool Win32TreePort::ControlKeyHeld() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

std::intptr_t Win32TreePort::CallPrevious(unsigned message, std::uintptr_t wParam,
                                          std::intptr_t lParam) {
  if (!previous_) return DefWindowProcA(tree_, message, wParam, lParam);
  return CallWindowProcA(previous_, tree_, message, wParam, lParam);
}

std::uintptr_t Win32TreePort::WindowId() { return reinterpret_cast<std::uintptr_t>(tree_); }

}  // namespace vx
