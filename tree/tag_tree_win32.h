// The tag tree on a real SysTreeView32.
#pragma once
#include <windows.h>
#include <commctrl.h>  // HTREEITEM

#include "tree/tag_tree.h"

namespace vx {

inline constexpr DWORD TREE_STYLE = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                    TVS_LINESATROOT;
inline constexpr int TREE_CONTROL_ID = 1000;

// Creates, subclasses and gives images to the control, sized for the DPI of
// tagWindow's monitor; nullptr on failure.
HWND CreateTagTree(TagTreeContext& ctx, HWND tagWindow, HINSTANCE resourceInstance);
// Gives the tree images for dpi in place of its present ones, keeping every
// index; does nothing when that cannot be done or dpi is out of range.
void RescaleTagTree(const TagTreeContext& ctx, HWND tree, HINSTANCE resourceInstance, UINT dpi);
void FillTagTree(TagTreeContext& ctx, HWND tree, HINSTANCE resourceInstance,
                 const char* definitionPath);
// The one way an item gets into the control: caption as code page 932 bytes,
// the selected image by the rule of the context the tree was made or filled
// with (an item's own image on a tree that has none). Every other insertion,
// the loader's sink included, comes through here.
HTREEITEM InsertTreeItem(HTREEITEM parent, const char* caption, HTREEITEM insertAfter,
                         int image, HWND tree, LPARAM value);
// The same with the selected image given, for callers that chose it already.
HTREEITEM InsertTreeItem(HTREEITEM parent, const char* caption, HTREEITEM insertAfter,
                         int image, int selectedImage, HWND tree, LPARAM value);
// Enter on item, exactly as NewHTProc takes it when item is the tree's caret:
// the same insertion and hand-back, or nothing. For those who choose an
// entry elsewhere (the filter box); the tree's caret does not move.
LRESULT ActivateTreeEntry(HWND tree, HTREEITEM item);

}  // namespace vx

// The tree's window procedure, exported under its C++ (type-encoding) name.
LRESULT CALLBACK NewHTProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
