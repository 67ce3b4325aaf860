// Everything the add-in tells the host goes out here, synchronously.
#include "addin/host_connection_win32.h"

#include "protocol/messages_win32.h"

namespace vx {

HWND HostFrameHandle = nullptr;
HWND EditWindowHandle = nullptr;

void SendInsertRequest(InsertCode code, const char* text) {
  // Sign-extended, so the host reads -1 and -2 back from a 64-bit wParam too.
  SendMessageA(EditWindowHandle, WM_HOST_INSERT, static_cast<WPARAM>(static_cast<INT_PTR>(code)),
               reinterpret_cast<LPARAM>(text));
}

void SendFocusHandBack(std::uintptr_t treeWindow) {
  SendMessageA(HostFrameHandle, HAND_BACK_MESSAGE, HAND_BACK_WPARAM, static_cast<LPARAM>(treeWindow));
}

void SendResizeNotice(HWND tagWindow) {
  SendMessageA(HostFrameHandle, RESIZE_NOTICE_MESSAGE, MAKEWPARAM(RESIZE_NOTICE_WPARAM, 0),
               reinterpret_cast<LPARAM>(tagWindow));
}

}  // namespace vx
