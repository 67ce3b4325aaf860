// The tag window's filter: a one-line box over a list of the entries that
// hold every word typed in it, above the tree. Opened by Ctrl+F in the tree,
// closed by Esc or Ctrl+F in the box. While closed it is hidden and the tree
// alone fills the tag window, as it does when the filter was never opened.
#pragma once
#include <windows.h>

namespace vx {

// Whether lParam of the tag window's WM_NOTIFY is Ctrl+F pressed in tree:
// the tree's own key notification, which the tree sends for every key.
bool IsFilterKey(HWND tree, LPARAM notification);

// Opens the filter in tagWindow above tree (made on the first call, with
// panel null, and shown again on later ones) and gives its box the focus, all
// of its text chosen. Returns the panel, or null when it cannot be made.
HWND OpenEntryFilter(HWND panel, HWND tagWindow, HWND tree);

// True while the filter is open.
bool EntryFilterOpen(HWND panel);

// Places the box and the results at the top of a client area of this size,
// and the tree in the rest of it.
void LayOutEntryFilter(HWND panel, HWND tree, int width, int height);

// The window the tag window passes its focus on to: the box while the filter
// is open, the tree otherwise.
HWND FilterFocusTarget(HWND panel, HWND tree);

}  // namespace vx
