#include "palette/insert/wait_win32.h"

namespace vxpalette {

namespace {

// How often a condition that no event signals is looked at again.
constexpr DWORD POLL_MS = 5;

void AnswerSentMessages(DWORD waitMs) {
  MsgWaitForMultipleObjectsEx(0, nullptr, waitMs, QS_SENDMESSAGE, 0);
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD boundMs) {
  ULONGLONG deadline = GetTickCount64() + boundMs;
  for (;;) {
    if (condition()) return true;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    AnswerSentMessages(static_cast<DWORD>(deadline - now < POLL_MS ? deadline - now : POLL_MS));
  }
}

}  // namespace vxpalette
