// The tag tree as the core sees it: the operations of the tree-view control
// that construction and activation need. tree_port_win32 binds it to a real
// SysTreeView32; native tests bind it to a model tree.
#pragma once
#include <cstdint>

#include "catalogue/catalogue.h"  // TreeItem

namespace vx {

// Special insert-after values, equal to TVI_ROOT, TVI_FIRST and TVI_LAST.
inline constexpr TreeItem TREE_INSERT_ROOT = static_cast<TreeItem>(-0x10000);
inline constexpr TreeItem TREE_INSERT_FIRST = static_cast<TreeItem>(-0x0FFFF);
inline constexpr TreeItem TREE_INSERT_LAST = static_cast<TreeItem>(-0x0FFFE);

class TreePort {
 public:
  virtual ~TreePort() = default;
  // One item with mask 0x27 (on the control: InsertTreeItem); parent 0 is the
  // top level. Returns 0 when refused.
  virtual TreeItem InsertItem(TreeItem parent, const char* caption, TreeItem insertAfter,
                              std::int32_t image, std::int32_t selectedImage,
                              std::int32_t value) = 0;
  virtual TreeItem CaretItem() = 0;                  // TVM_GETNEXTITEM, TVGN_CARET
  virtual TreeItem HitTest(int x, int y) = 0;        // TVM_HITTEST, client coordinates
  // TVM_GETITEMA (TVIF_TEXT|TVIF_PARAM, 256-byte caption buffer); false when invalid.
  virtual bool QueryItemValue(TreeItem item, std::int32_t* value) = 0;
  virtual bool ControlKeyHeld() = 0;                 // GetKeyState(VK_CONTROL) high bit
  virtual std::intptr_t CallPrevious(unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) = 0;
  virtual std::uintptr_t WindowId() = 0;             // the tree's window handle
};

}  // namespace vx
