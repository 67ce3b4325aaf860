#include "addin/tag_window_win32.h"

#include <commctrl.h>

#include "addin/entry_points_win32.h"
#include "addin/host_connection_win32.h"
#include "addin/placement_win32.h"
#include "catalogue/color_choice.h"
#include "tree/tag_tree_win32.h"


namespace vx {

TMFrameWindow::TMFrameWindow(TWindow* parent, const char* title)
    : TFrameWindow(parent, title) {
  const Placement placement = LoadPlacement(EditWindowHandle);
  attr.x = placement.x;
  attr.y = placement.y;
  attr.w = placement.w;
  attr.h = placement.h;
}

TMFrameWindow::~TMFrameWindow() {
  // The framework's tracking keeps attr on the last normal placement, so this
  // is right whether or not the window still exists. An object whose window
  // was never made has no placement of its own: saving would store defaults
  // worked out for one edit window as though the user had chosen them.
  if (HadWindow()) SavePlacement(Placement{attr.x, attr.y, attr.w, attr.h});
  TagWindowOpen = false;
}

const TResponseTable& TMFrameWindow::ResponseTable() {
  static constexpr TResponseEntry ROWS[] = {
      {WM_SIZE, &Respond<&TMFrameWindow::EvSize>},
      {WM_SETFOCUS, &Respond<&TMFrameWindow::EvSetFocus>},
  };
  static const TResponseTable TABLE = MakeResponseTable(ROWS, &TFrameWindow::ResponseTable);
  return TABLE;
}

const TResponseTable& TMFrameWindow::Responses() const { return ResponseTable(); }

void TMFrameWindow::SetupWindow() {
  TFrameWindow::SetupWindow();
  // Bitmaps and captions come from the module the host's application stands
  // for, which need not be this DLL.
  const HINSTANCE resources = GetApplication() ? GetApplication()->GetInstance() : nullptr;
  tree_ = CreateTagTree(treeContext_, GetHandle(), resources);
  if (tree_ == nullptr) {
    MessageBoxExA(nullptr, "Tree View not created!", nullptr, MB_OK, 0);
    return;
  }
  FillTagTree(treeContext_, tree_, resources, DefinitionPath);
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET,
               static_cast<LPARAM>(treeContext_.categoryItems[0]));
  ActivateTree();
}

// Posted, not sent: the tree takes the focus once the current handler (or the
// host's call that opened the window) has returned.
void TMFrameWindow::ActivateTree() {
  PostMessageA(tree_, WM_ACTIVATE, WA_CLICKACTIVE, reinterpret_cast<LPARAM>(GetHandle()));
}

LRESULT TMFrameWindow::EvSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DispatchFrom(TFrameWindow::ResponseTable(), WM_SIZE, wParam, lParam);
  SendResizeNotice(GetHandle());
  if (tree_ != nullptr) MoveWindow(tree_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
  return result;
}

LRESULT TMFrameWindow::EvSetFocus(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DispatchFrom(TFrameWindow::ResponseTable(), WM_SETFOCUS, wParam, lParam);
  // During the colour dialog the focus wanders; pulling it into the tree then
  // would take it from the dialog.
  if (tree_ != nullptr && ColorDialogClosed) ActivateTree();
  return result;
}

}  // namespace vx
