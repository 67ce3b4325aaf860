// The tag tree on a real SysTreeView32.
#pragma once
#include <windows.h>
#include <commctrl.h>  // HTREEITEM

#include "tree/tag_tree.h"

namespace vx {

inline constexpr DWORD TREE_STYLE = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                    TVS_LINESATROOT;
inline constexpr int TREE_CONTROL_ID = 1000;

// Creates, subclasses and gives images to the control; nullptr on failure.
HWND CreateTagTree(TagTreeContext& ctx, HWND tagWindow, HINSTANCE resourceInstance);
void FillTagTree(TagTreeContext& ctx, HWND tree, HINSTANCE resourceInstance,
                 const char* definitionPath);
HTREEITEM InsertTreeItem(HTREEITEM parent, const char* caption, HTREEITEM insertAfter,
                         int image, HWND tree, LPARAM value);

}  // namespace vx

// The tree's window procedure, exported under its C++ (type-encoding) name.
LRESULT CALLBACK NewHTProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
