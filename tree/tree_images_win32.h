// The tag tree's image list: the five bitmaps in their fixed order, at the
// size the tree's monitor asks for.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "tree/tag_tree.h"

namespace vx {

// The module this code is linked into: the add-in DLL, or a test program. It
// carries its own copies of the bitmaps and captions for hosts that do not.
HMODULE TreeModule();

// The DPIs images are made for: from half to ten times the usual 96. Outside
// them a message naming a DPI is taken for a faulty one.
inline constexpr UINT MIN_TREE_DPI = 48;
inline constexpr UINT MAX_TREE_DPI = 960;

// The DPI of window's monitor as this process sees it: 96 in a host that is
// not DPI aware, whatever the screen; 96 when the answer is out of range.
UINT WindowDpi(HWND window);

// A list of images of 16 x 16 at 96 DPI, scaled in proportion otherwise, with
// the bitmaps HTML0, HTMLP, HTMLSP, HTMLC, HTMLSC added in that order. Each
// index in ctx is that of its bitmap's first image (-1 when it could not be
// added). At 96 DPI the bitmaps go in as loaded; at any other DPI each is
// first enlarged or reduced pixel by pixel (nearest neighbour); when that
// cannot be drawn (no device context), the list is made at 96 DPI instead.
// May return null when the list cannot be made.
HIMAGELIST MakeTreeImages(TagTreeContext& ctx, HINSTANCE resourceInstance, UINT dpi);

}  // namespace vx
