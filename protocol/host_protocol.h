// What the add-in and every host editor share: the messages the add-in sends
// to the host's windows. Host authors start here (docs/host-protocol.md tells
// the whole exchange). Plain numbers, no <windows.h>: the core and the tools
// use them too.
#pragma once
#include <cstdint>

#include "protocol/messages.h"

namespace vx {

// Insert request to the host's edit window, sent synchronously: wParam an
// InsertCode (sign-extended to the width of WPARAM), lParam the text, valid
// only during the call.
inline constexpr unsigned WM_HOST_INSERT = MSG_USER + 35;

enum InsertCode : std::int32_t {
  InsertLead = 0,
  InsertTrail = 1,
  InsertLineEnd = 2,
  InsertLinkTrail = -1,
  InsertDefinitionText = -2,
};

// Focus hand-back to the host frame after every activation of an entry:
// WM_ACTIVATE with wParam WA_CLICKACTIVE and lParam the tag tree's handle.
inline constexpr unsigned HAND_BACK_MESSAGE = MSG_ACTIVATE;
inline constexpr unsigned HAND_BACK_WPARAM = ACTIVATE_CLICK;

// Resize notice to the host frame, once per WM_SIZE of the tag window:
// WM_PARENTNOTIFY with wParam MAKEWPARAM(WM_SIZE, 0) and lParam the tag
// window's handle.
inline constexpr unsigned RESIZE_NOTICE_MESSAGE = MSG_PARENTNOTIFY;
inline constexpr unsigned RESIZE_NOTICE_WPARAM = MSG_SIZE;

}  // namespace vx
