// The one place where the numbers of protocol/ meet <windows.h>: every Win32
// binding that sends or decides on them includes this header instead of
// repeating the comparison.
#pragma once
#include <windows.h>

#include "protocol/host_protocol.h"
#include "protocol/messages.h"

static_assert(vx::MSG_DESTROY == WM_DESTROY && vx::MSG_SIZE == WM_SIZE && vx::MSG_ACTIVATE == WM_ACTIVATE &&
                  vx::MSG_KEYDOWN == WM_KEYDOWN && vx::MSG_CHAR == WM_CHAR &&
                  vx::MSG_LBUTTONDBLCLK == WM_LBUTTONDBLCLK &&
                  vx::MSG_PARENTNOTIFY == WM_PARENTNOTIFY && vx::MSG_USER == WM_USER,
              "message numbers must equal the Win32 ones");
static_assert(vx::KEY_RETURN == VK_RETURN && vx::KEY_DOWN == VK_DOWN &&
                  vx::ACTIVATE_CLICK == WA_CLICKACTIVE,
              "key and activation numbers must equal the Win32 ones");
static_assert(vx::WM_HOST_INSERT == WM_USER + 35, "hosts listen for WM_USER + 35");
