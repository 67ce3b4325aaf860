#include "addin/filter_panel_win32.h"

#include <commctrl.h>

#include <cstdint>

#include "tree/entry_filter.h"
#include "tree/platform_seams.h"
#include "tree/tag_tree_win32.h"
#include "tree/tree_entries_win32.h"
#include "tree/tree_images_win32.h"

namespace vx {
namespace {

constexpr wchar_t PANEL_CLASS[] = L"VxEntryFilter";
constexpr int PANEL_ID = 1001;
constexpr int BOX_ID = 1002;
constexpr int RESULTS_ID = 1003;
constexpr int COLUMN_COUNT = 3;                                  // caption, folder, first line
constexpr int COLUMN_SHARES[COLUMN_COUNT] = {45, 20, 35};        // per cent of the width
constexpr int BOX_PADDING = 8;                                   // pixels around the text's height
constexpr WPARAM FILTER_KEY = 'F';
// Characters the box's keys also produce, which a one-line box has no use
// for: the carriage return and line feed of Enter and Ctrl+Enter, Esc, Ctrl+F.
constexpr WPARAM SWALLOWED_CHARACTERS[] = {'\r', '\n', 0x1B, 0x06};

struct FilterPanel {
  HWND tree = nullptr;
  HWND box = nullptr;
  HWND results = nullptr;
  WNDPROC boxProcedure = nullptr;
  int boxHeight = 0;
  EntryIndex index;
  std::uint32_t* found = nullptr;  // room for every entry
  std::size_t foundCount = 0;
  int row = -1;                     // the chosen result, -1 for none
  HTREEITEM chosen = nullptr;       // the entry last chosen, kept across filters
};

FilterPanel* PanelOf(HWND panel) {
  return panel ? reinterpret_cast<FilterPanel*>(GetWindowLongPtrW(panel, GWLP_USERDATA)) : nullptr;
}

bool KeyHeld(int key) { return GetKeyState(key) < 0; }

// ---- choosing and activating ----

void Choose(FilterPanel& state, int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= state.foundCount) return;
  state.row = row;
  state.chosen = reinterpret_cast<HTREEITEM>(state.index.Item(state.found[row]));
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(state.results, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  SendMessageW(state.results, LVM_ENSUREVISIBLE, row, FALSE);
}

void Move(FilterPanel& state, int rows) {
  if (state.foundCount == 0) return;
  const int last = static_cast<int>(state.foundCount) - 1;
  const int row = state.row + rows;
  Choose(state, row < 0 ? 0 : row > last ? last : row);
}

int PageRows(const FilterPanel& state) {
  const int rows = static_cast<int>(SendMessageW(state.results, LVM_GETCOUNTPERPAGE, 0, 0));
  return rows > 1 ? rows : 1;
}

// The tree's own activation. Nothing of the panel is touched after it: the
// colour dialog runs inside, and the tag window may be closed meanwhile.
void ActivateChosen(const FilterPanel& state) {
  if (state.row < 0 || static_cast<std::size_t>(state.row) >= state.foundCount) return;
  ActivateTreeEntry(state.tree, reinterpret_cast<HTREEITEM>(state.index.Item(state.found[state.row])));
}

void Refilter(FilterPanel& state) {
  wchar_t typed[FILTER_TEXT_LIMIT + 1];
  const int length = GetWindowTextW(state.box, typed, FILTER_TEXT_LIMIT + 1);
  state.foundCount = state.index.Find(reinterpret_cast<const char16_t*>(typed),
                                      length > 0 ? static_cast<std::size_t>(length) : 0, state.found);
  state.row = -1;
  SendMessageW(state.results, LVM_SETITEMCOUNT, state.foundCount, 0);
  Choose(state, 0);
  InvalidateRect(state.results, nullptr, TRUE);
}

// ---- opening and closing ----

void CloseFilter(HWND panel, FilterPanel& state) {
  if (state.chosen) {
    SendMessageW(state.tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(state.chosen));
    SendMessageW(state.tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(state.chosen));
  }
  // The focus first: hiding the box that holds it may hand it to the tag
  // window, whose focus handler would then post an activation of its own.
  SetFocus(state.tree);
  ShowWindow(panel, SW_HIDE);
  RECT client{};
  GetClientRect(GetParent(panel), &client);
  MoveWindow(state.tree, 0, 0, client.right, client.bottom, TRUE);
}

// ---- the box ----

// Ctrl alone: Ctrl with Alt is AltGr on some keyboards, which types characters.
bool ControlOnly() { return KeyHeld(VK_CONTROL) && !KeyHeld(VK_MENU); }

// The keys the box takes from its edit control; false leaves a key to it,
// VK_PROCESSKEY among them: an input method's Enter confirms its composition.
bool OnBoxKey(HWND panel, FilterPanel& state, WPARAM key) {
  if (key == VK_ESCAPE || (key == FILTER_KEY && ControlOnly())) {
    CloseFilter(panel, state);
  } else if (key == VK_RETURN) {
    ActivateChosen(state);
  } else if (key == VK_DOWN && KeyHeld(VK_CONTROL)) {
    SendFocusHandBack(reinterpret_cast<std::uintptr_t>(state.tree));
  } else if (key == VK_DOWN || key == VK_UP) {
    Move(state, key == VK_DOWN ? 1 : -1);
  } else if (key == VK_NEXT || key == VK_PRIOR) {
    Move(state, key == VK_NEXT ? PageRows(state) : -PageRows(state));
  } else {
    return false;
  }
  return true;
}

bool IsSwallowed(WPARAM character) {
  for (WPARAM swallowed : SWALLOWED_CHARACTERS) {
    if (character == swallowed) return true;
  }
  return false;
}

LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND panel = GetParent(box);
  FilterPanel* state = PanelOf(panel);
  if (!state) return DefWindowProcW(box, message, wParam, lParam);
  const WNDPROC previous = state->boxProcedure;
  switch (message) {
    case WM_KEYDOWN: if (OnBoxKey(panel, *state, wParam)) return 0; break;
    case WM_CHAR: if (IsSwallowed(wParam)) return 0; break;
    // An activation posted while the filter was open may arrive after it closed.
    case WM_ACTIVATE: if (!EntryFilterOpen(panel)) { SetFocus(state->tree); return 0; } break;
    default: break;
  }
  return CallWindowProcW(previous, box, message, wParam, lParam);
}

// ---- the panel ----

const wchar_t* ShownText(const FilterPanel& state, int row, int column) {
  const std::uint32_t entry = state.found[row];
  const char16_t* text = column == 0   ? state.index.Caption(entry)
                         : column == 1 ? state.index.Folder(entry)
                                       : state.index.FirstLine(entry);
  return reinterpret_cast<const wchar_t*>(text);
}

void OnDisplayInfo(const FilterPanel& state, NMLVDISPINFOW& info) {
  if (!(info.item.mask & LVIF_TEXT) || info.item.cchTextMax <= 0) return;
  if (info.item.iItem < 0 || static_cast<std::size_t>(info.item.iItem) >= state.foundCount) return;
  lstrcpynW(info.item.pszText, ShownText(state, info.item.iItem, info.item.iSubItem), info.item.cchTextMax);
}

void OnResultsNotify(FilterPanel& state, NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW: OnDisplayInfo(state, reinterpret_cast<NMLVDISPINFOW&>(header)); break;
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<NMLISTVIEW&>(header);
      if (change.iItem >= 0 && (change.uNewState & LVIS_SELECTED) && change.iItem != state.row) {
        Choose(state, change.iItem);
      }
      break;
    }
    // The keys stay with the box: a click chooses, and the box takes the focus back.
    case NM_CLICK: SetFocus(state.box); break;
    case NM_DBLCLK: {
      const int row = reinterpret_cast<NMITEMACTIVATE&>(header).iItem;
      if (row >= 0) {
        Choose(state, row);
        ActivateChosen(state);
      }
      break;
    }
    default: break;
  }
}

int TextHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight;
}

void AddColumns(HWND results) {
  for (int column = 0; column < COLUMN_COUNT; ++column) {
    LVCOLUMNW shape{};
    shape.mask = LVCF_WIDTH | LVCF_SUBITEM;
    shape.cx = 100;
    shape.iSubItem = column;
    SendMessageW(results, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&shape));
  }
  SendMessageW(results, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
}

LRESULT OnCreate(HWND panel, const CREATESTRUCTW& create) {
  auto* state = new FilterPanel;
  state->tree = static_cast<HWND>(create.lpCreateParams);
  SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  state->box = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0, 0, panel,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(BOX_ID)), create.hInstance, nullptr);
  state->results = CreateWindowExW(
      WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
      0, 0, 0, 0, panel, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(RESULTS_ID)), create.hInstance, nullptr);
  if (!state->box || !state->results) return -1;
  SendMessageW(state->box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(state->results, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(state->box, EM_LIMITTEXT, FILTER_TEXT_LIMIT, 0);
  AddColumns(state->results);
  state->boxHeight = TextHeight(state->box, font) + BOX_PADDING;
  state->boxProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(state->box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoxProc)));
  CollectTreeEntries(state->tree, state->index);
  state->found = new std::uint32_t[state->index.Count() + 1];
  return 0;
}

void OnSize(const FilterPanel& state, int width, int height) {
  MoveWindow(state.box, 0, 0, width, state.boxHeight, TRUE);
  MoveWindow(state.results, 0, state.boxHeight, width, height > state.boxHeight ? height - state.boxHeight : 0,
             TRUE);
  RECT inside{};
  GetClientRect(state.results, &inside);
  for (int column = 0; column < COLUMN_COUNT; ++column) {
    SendMessageW(state.results, LVM_SETCOLUMNWIDTH, column, inside.right * COLUMN_SHARES[column] / 100);
  }
}

void OnDestroy(HWND panel, FilterPanel* state) {
  SetWindowLongPtrW(panel, GWLP_USERDATA, 0);
  if (!state) return;
  delete[] state->found;
  delete state;
}

LRESULT CALLBACK FilterPanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  FilterPanel* state = PanelOf(panel);
  switch (message) {
    case WM_CREATE: return OnCreate(panel, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_SIZE: if (state) OnSize(*state, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_COMMAND: if (state && LOWORD(wParam) == BOX_ID && HIWORD(wParam) == EN_CHANGE) Refilter(*state); return 0;
    case WM_NOTIFY: if (state && wParam == RESULTS_ID) OnResultsNotify(*state, *reinterpret_cast<NMHDR*>(lParam)); return 0;
    case WM_NCDESTROY: OnDestroy(panel, state); break;
    default: break;
  }
  return DefWindowProcW(panel, message, wParam, lParam);
}

// A class left registered by an earlier load of this DLL at the same address
// would name a procedure that may be gone: it is replaced.
bool RegisterPanelClass(HINSTANCE module) {
  WNDCLASSW existing{};
  if (GetClassInfoW(module, PANEL_CLASS, &existing) && existing.lpfnWndProc == &FilterPanelProc) return true;
  UnregisterClassW(PANEL_CLASS, module);
  WNDCLASSW panelClass{};
  panelClass.lpfnWndProc = &FilterPanelProc;
  panelClass.hInstance = module;
  panelClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  panelClass.lpszClassName = PANEL_CLASS;
  return RegisterClassW(&panelClass) != 0;
}

HWND CreatePanel(HWND tagWindow, HWND tree) {
  const HINSTANCE module = TreeModule();
  if (!RegisterPanelClass(module)) return nullptr;
  return CreateWindowExW(WS_EX_NOPARENTNOTIFY, PANEL_CLASS, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0,
                         tagWindow, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(PANEL_ID)), module, tree);
}

}  // namespace

bool IsFilterKey(HWND tree, LPARAM notification) {
  const auto* key = reinterpret_cast<const NMTVKEYDOWN*>(notification);
  return key && key->hdr.hwndFrom == tree && key->hdr.code == static_cast<UINT>(TVN_KEYDOWN) &&
         key->wVKey == FILTER_KEY && ControlOnly();
}

HWND OpenEntryFilter(HWND panel, HWND tagWindow, HWND tree) {
  if (!panel) panel = CreatePanel(tagWindow, tree);
  FilterPanel* state = PanelOf(panel);
  if (!state) return panel;
  RECT client{};
  GetClientRect(tagWindow, &client);
  LayOutEntryFilter(panel, tree, client.right, client.bottom);
  ShowWindow(panel, SW_SHOWNA);
  SetFocus(state->box);
  SendMessageW(state->box, EM_SETSEL, 0, -1);
  return panel;
}

bool EntryFilterOpen(HWND panel) {
  return panel && (GetWindowLongPtrW(panel, GWL_STYLE) & WS_VISIBLE) != 0;
}

void LayOutEntryFilter(HWND panel, HWND tree, int width, int height) {
  const FilterPanel* state = PanelOf(panel);
  if (!state) return;
  const int box = state->boxHeight < height ? state->boxHeight : height;
  const int top = box + (height - box) / 2;
  MoveWindow(panel, 0, 0, width, top, TRUE);
  MoveWindow(tree, 0, top, width, height - top, TRUE);
}

HWND FilterFocusTarget(HWND panel, HWND tree) {
  const FilterPanel* state = PanelOf(panel);
  return state && EntryFilterOpen(panel) ? state->box : tree;
}

}  // namespace vx
