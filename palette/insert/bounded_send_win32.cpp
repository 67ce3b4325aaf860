#include "palette/insert/bounded_send_win32.h"

namespace vxpalette {

Answer SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  DWORD_PTR ignored = 0;
  SetLastError(ERROR_SUCCESS);
  if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_NORMAL, ANSWER_BOUND_MS,
                          result ? result : &ignored)) {
    return Answer::Answered;
  }
  DWORD error = GetLastError();
  if (!IsWindow(window)) return Answer::Gone;
  if (error == ERROR_ACCESS_DENIED) return Answer::Denied;
  return Answer::Hung;
}

}  // namespace vxpalette
