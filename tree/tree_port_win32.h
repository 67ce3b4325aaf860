// The TreePort over a real SysTreeView32 and the procedure it had before
// NewHTProc was put in front of it.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "tree/tree_port.h"

namespace vx {

class Win32TreePort : public TreePort {
 public:
  Win32TreePort(HWND tree, WNDPROC previous) : tree_(tree), previous_(previous) {}

  TreeItem InsertItem(TreeItem parent, const char* caption, TreeItem insertAfter,
                      std::int32_t image, std::int32_t selectedImage,
                      std::int32_t value) override;
  TreeItem CaretItem() override;
  TreeItem HitTest(int x, int y) override;
  bool QueryItemValue(TreeItem item, std::int32_t* value) override;
  bool ControlKeyHeld() override;
  std::intptr_t CallPrevious(unsigned message, std::uintptr_t wParam,
                             std::intptr_t lParam) override;
  std::uintptr_t WindowId() override;

 private:
  HWND tree_;
  WNDPROC previous_;
};

}  // namespace vx
