// Everything the add-in tells the host goes out here, synchronously.
#include "addin/host_connection.h"

#include "addin/messages.h"

namespace vx {

static_assert(WM_HOST_INSERT == WM_USER + 35, "the host listens for WM_USER + 35");
static_assert(MSG_ACTIVATE == WM_ACTIVATE && MSG_PARENTNOTIFY == WM_PARENTNOTIFY &&
                  MSG_SIZE == WM_SIZE && ACTIVATE_CLICK == WA_CLICKACTIVE,
              "protocol constants must equal the Win32 ones");

HWND HostFrameHandle = nullptr;
HWND EditWindowHandle = nullptr;

void SendInsertRequest(InsertCode code, const char* text) {
  // Sign-extended, so the host reads -1 and -2 back from a 64-bit wParam too.
  SendMessageA(EditWindowHandle, WM_HOST_INSERT, static_cast<WPARAM>(static_cast<INT_PTR>(code)),
               reinterpret_cast<LPARAM>(text));
}

void SendFocusHandBack(std::uintptr_t treeWindow) {
  SendMessageA(HostFrameHandle, WM_ACTIVATE, WA_CLICKACTIVE, static_cast<LPARAM>(treeWindow));
}

void SendResizeNotice(HWND tagWindow) {
  SendMessageA(HostFrameHandle, WM_PARENTNOTIFY, MAKEWPARAM(WM_SIZE, 0),
               reinterpret_cast<LPARAM>(tagWindow));
}

}  // namespace vx
