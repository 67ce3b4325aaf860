#include "tree/tree_port_win32.h"

#include <cstddef>

namespace vx {
namespace {

constexpr UINT TREE_ITEM_MASK = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
// What the 32-bit tree-view control reads from us, pinned in the shipped build.
static_assert(sizeof(void*) != 4 ||
              (sizeof(TVITEMA) == 40 && offsetof(TVITEMA, pszText) == 16 &&
               offsetof(TVITEMA, lParam) == 36 && sizeof(TVINSERTSTRUCTA) == 68 &&
               offsetof(TVINSERTSTRUCTA, hInsertAfter) == 4 && offsetof(TVINSERTSTRUCTA, item) == 8));

constexpr int ITEM_CAPTION_SIZE = 256;

// Receives the caption of every queried item. Nothing reads it: the query is
// made for the item value, and the control insists on somewhere to put the text.
char ItemCaptionBuffer[ITEM_CAPTION_SIZE];

HTREEITEM AsHandle(TreeItem item) { return reinterpret_cast<HTREEITEM>(item); }
TreeItem AsItem(HTREEITEM handle) { return reinterpret_cast<TreeItem>(handle); }

}  // namespace

HTREEITEM SendInsertItem(HWND tree, HTREEITEM parent, const char* caption,
                         HTREEITEM insertAfter, int image, int selectedImage, LPARAM value) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = insertAfter;
  insert.item.mask = TREE_ITEM_MASK;
  insert.item.pszText = const_cast<char*>(caption);
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.lParam = value;
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

TreeItem Win32TreePort::InsertItem(TreeItem parent, const char* caption, TreeItem insertAfter,
                                   std::int32_t image, std::int32_t selectedImage,
                                   std::int32_t value) {
  return AsItem(SendInsertItem(tree_, AsHandle(parent), caption, AsHandle(insertAfter), image,
                               selectedImage, value));
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
