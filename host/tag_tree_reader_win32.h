// The tag window's tree read from outside, the way a host sees it: only
// through the control's own messages, never through the add-in's code.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

namespace vxhost {

// The tree control inside a tag window; null when either is missing.
HWND FindTagTree(HWND tagWindow);

// TVM_GETNEXTITEM: relation is TVGN_ROOT, TVGN_NEXT, TVGN_CHILD, TVGN_PARENT, TVGN_CARET...
HTREEITEM NextItem(HWND tree, HTREEITEM item, WPARAM relation);

// The caption as code page 932 bytes, on a system of any code page.
std::string ItemCaption(HWND tree, HTREEITEM item);

// Items in the order they stand when every folder is open, until stop returns
// true; returns that item, or null when every item was visited.
HTREEITEM FindInPreOrder(HWND tree, const std::function<bool(HTREEITEM)>& stop);

}  // namespace vxhost
