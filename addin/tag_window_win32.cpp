#include "addin/tag_window_win32.h"

#include <commctrl.h>

#include "addin/entry_points_win32.h"
#include "addin/filter_panel_win32.h"
#include "addin/host_connection_win32.h"
#include "addin/placement_win32.h"
#include "catalogue/color_choice.h"
#include "tree/cp932_text_win32.h"
#include "tree/tag_tree_win32.h"


namespace vx {

TMFrameWindow::TMFrameWindow(TWindow* parent, const char* title)
    : TFrameWindow(parent, title) {
  // Deliberately not the stored values alone: a placement that no monitor
  // shows any more (one unplugged since) would open a window nobody can see.
  const Placement placement = ShownPlacement(LoadPlacement(EditWindowHandle));
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
      {WM_DPICHANGED, &Respond<&TMFrameWindow::EvDpiChanged>},
      {WM_NOTIFY, &Respond<&TMFrameWindow::EvNotify>},
  };
  static const TResponseTable TABLE = MakeResponseTable(ROWS, &TFrameWindow::ResponseTable);
  return TABLE;
}

const TResponseTable& TMFrameWindow::Responses() const { return ResponseTable(); }

void TMFrameWindow::SetupWindow() {
  TFrameWindow::SetupWindow();
  ShowTitle();
  // Bitmaps and captions come from the module the host's application stands
  // for, which need not be this DLL.
  const HINSTANCE resources = ResourceInstance();
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

// The framework makes its windows with the ANSI calls, so the title arrived
// read through the system's code page. It is set again from its 932 bytes,
// straight into the window's own (UTF-16) text: a WM_SETTEXT through the
// window's ANSI procedure would go through the system's code page once more.
// The caption, and any other program, then reads the right characters; the
// ANSI procedure answers this program's GetWindowTextA with the same 932 bytes
// as before on a 932 system.
void TMFrameWindow::ShowTitle() {
  wchar_t title[CAPTION_WIDE_SIZE];
  DefWindowProcW(GetHandle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WidenCp932(GetTitle(), title)));
}

// Posted, not sent: the tree takes the focus once the current handler (or the
// host's call that opened the window) has returned.
void TMFrameWindow::ActivateTree() {
  PostMessageA(FilterFocusTarget(filter_, tree_), WM_ACTIVATE, WA_CLICKACTIVE, reinterpret_cast<LPARAM>(GetHandle()));
}

LRESULT TMFrameWindow::EvSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DispatchFrom(TFrameWindow::ResponseTable(), WM_SIZE, wParam, lParam);
  SendResizeNotice(GetHandle());
  if (tree_ != nullptr && EntryFilterOpen(filter_)) {
    LayOutEntryFilter(filter_, tree_, LOWORD(lParam), HIWORD(lParam));
  } else if (tree_ != nullptr) {
    MoveWindow(tree_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
  }
  return result;
}

// The tree's key notification, sent for every key the tree takes, is the one
// notification the tag window heeds, and only for Ctrl+F; every other passes
// on as before.
LRESULT TMFrameWindow::EvNotify(WPARAM wParam, LPARAM lParam) {
  if (tree_ != nullptr && IsFilterKey(tree_, lParam)) {
    filter_ = OpenEntryFilter(filter_, GetHandle(), tree_);
    return 1;
  }
  return DispatchFrom(TFrameWindow::ResponseTable(), WM_NOTIFY, wParam, lParam);
}

// A per-monitor DPI-aware host's tag window moved to a monitor of another
// DPI: it takes the rectangle the system proposes and images for the new DPI,
// from which the tree measures its rows again.
LRESULT TMFrameWindow::EvDpiChanged(WPARAM wParam, LPARAM lParam) {
  if (const auto* proposed = reinterpret_cast<const RECT*>(lParam)) {
    SetWindowPos(GetHandle(), nullptr, proposed->left, proposed->top, proposed->right - proposed->left,
                 proposed->bottom - proposed->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (tree_ != nullptr) RescaleTagTree(treeContext_, tree_, ResourceInstance(), HIWORD(wParam));
  return 0;
}

HINSTANCE TMFrameWindow::ResourceInstance() const {
  return GetApplication() ? GetApplication()->GetInstance() : nullptr;
}

LRESULT TMFrameWindow::EvSetFocus(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DispatchFrom(TFrameWindow::ResponseTable(), WM_SETFOCUS, wParam, lParam);
  // During the colour dialog the focus wanders; pulling it into the tree then
  // would take it from the dialog.
  if (tree_ != nullptr && !IsColorDialogOpen()) ActivateTree();
  return result;
}

}  // namespace vx
