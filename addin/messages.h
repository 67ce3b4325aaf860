// Message numbers and protocol constants of the add-in, named once.
// Platform-free: the values equal the Win32 ones, so the core can reason about
// messages without <windows.h>; the Win32 bindings static_assert the equality.
#pragma once
#include <cstdint>

namespace vx {

// Insert request to the host's edit window: wParam an InsertCode, lParam the text.
inline constexpr unsigned WM_HOST_INSERT = 0x0400 + 35;  // WM_USER + 35

// Window messages the core decides on.
inline constexpr unsigned MSG_DESTROY = 0x0002;        // WM_DESTROY
inline constexpr unsigned MSG_SIZE = 0x0005;           // WM_SIZE
inline constexpr unsigned MSG_ACTIVATE = 0x0006;       // WM_ACTIVATE
inline constexpr unsigned MSG_KEYDOWN = 0x0100;        // WM_KEYDOWN
inline constexpr unsigned MSG_CHAR = 0x0102;           // WM_CHAR
inline constexpr unsigned MSG_LBUTTONDBLCLK = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr unsigned MSG_PARENTNOTIFY = 0x0210;   // WM_PARENTNOTIFY

inline constexpr unsigned KEY_RETURN = 0x0D;  // VK_RETURN
inline constexpr unsigned KEY_DOWN = 0x28;    // VK_DOWN
inline constexpr unsigned CHAR_CARRIAGE_RETURN = 13;
inline constexpr unsigned ACTIVATE_CLICK = 2;  // WA_CLICKACTIVE

// Size types of WM_SIZE.
inline constexpr unsigned SIZE_TYPE_RESTORED = 0;
inline constexpr unsigned SIZE_TYPE_MINIMIZED = 1;
inline constexpr unsigned SIZE_TYPE_MAXIMIZED = 2;

// Tree-view constants the core names (values of commctrl.h).
inline constexpr unsigned TREE_CONTROL_ID = 1000;
inline constexpr std::uint32_t TREE_STYLE = 0x50000007;  // WS_CHILD|WS_VISIBLE|TVS_HASBUTTONS|TVS_HASLINES|TVS_LINESATROOT
inline constexpr unsigned TREE_ITEM_MASK = 0x27;         // TVIF_TEXT|TVIF_IMAGE|TVIF_SELECTEDIMAGE|TVIF_PARAM
inline constexpr unsigned TREE_SELECT_CARET = 9;         // TVGN_CARET

// Tag window attributes.
inline constexpr std::uint32_t TAG_WINDOW_STYLE = 0x10CF0000;  // WS_OVERLAPPEDWINDOW|WS_VISIBLE
inline constexpr std::uint32_t TAG_WINDOW_EX_STYLE = 0x200;    // WS_EX_CLIENTEDGE

}  // namespace vx
