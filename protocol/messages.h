// The Win32 message, key and notification numbers that platform-free code
// names, defined once. The values are the Win32 ones, so the core can decide
// on messages without <windows.h>; protocol/messages_win32.h checks them
// against <windows.h> wherever both are visible.
#pragma once

namespace vx {

inline constexpr unsigned MSG_DESTROY = 0x0002;        // WM_DESTROY
inline constexpr unsigned MSG_SIZE = 0x0005;           // WM_SIZE
inline constexpr unsigned MSG_ACTIVATE = 0x0006;       // WM_ACTIVATE
inline constexpr unsigned MSG_KEYDOWN = 0x0100;        // WM_KEYDOWN
inline constexpr unsigned MSG_CHAR = 0x0102;           // WM_CHAR
inline constexpr unsigned MSG_LBUTTONDBLCLK = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr unsigned MSG_PARENTNOTIFY = 0x0210;   // WM_PARENTNOTIFY
inline constexpr unsigned MSG_USER = 0x0400;           // WM_USER

inline constexpr unsigned KEY_RETURN = 0x0D;  // VK_RETURN
inline constexpr unsigned KEY_DOWN = 0x28;    // VK_DOWN
inline constexpr unsigned CHAR_CARRIAGE_RETURN = 13;
inline constexpr unsigned ACTIVATE_CLICK = 2;  // WA_CLICKACTIVE

}  // namespace vx
