#include "palette/insert/foreground_win32.h"

#include "palette/insert/bounded_send_win32.h"
#include "palette/insert/wait_win32.h"

namespace vxpalette {

namespace {

bool ThreadInfoOf(HWND target, GUITHREADINFO* info) {
  info->cbSize = sizeof(*info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(target, nullptr), info) != 0;
}

bool IsActiveInItsThread(HWND target) {
  GUITHREADINFO info;
  return ThreadInfoOf(target, &info) && info.hwndActive == target;
}

}  // namespace

FrontResult BringToFront(HWND target, DWORD boundMs) {
  if (!IsWindow(target)) return FrontResult::Gone;
  if (IsIconic(target)) ShowWindowAsync(target, SW_RESTORE);
  SetForegroundWindow(target);
  bool inFront = WaitUntil(
      [target] { return !IsWindow(target) || (GetForegroundWindow() == target && IsActiveInItsThread(target)); },
      boundMs);
  if (!IsWindow(target)) return FrontResult::Gone;
  if (!inFront) return FrontResult::NotInFront;
  // The activation reaches the target's thread as a message ahead of this
  // one; once this is answered, the thread has also moved its focus (a
  // window activated gets the focus first and passes it on to its control).
  switch (SendBounded(target, WM_NULL, 0, 0, nullptr)) {
    case Answer::Answered: return FrontResult::InFront;
    case Answer::Gone: return FrontResult::Gone;
    case Answer::Hung:
    case Answer::Denied: return FrontResult::NotInFront;
  }
  return FrontResult::NotInFront;
}

HWND FocusedControl(HWND target) {
  GUITHREADINFO info;
  if (ThreadInfoOf(target, &info) && info.hwndFocus && (info.hwndFocus == target || IsChild(target, info.hwndFocus))) {
    return info.hwndFocus;
  }
  return target;
}

}  // namespace vxpalette
