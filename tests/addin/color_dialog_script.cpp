#include "tests/addin/color_dialog_script.h"

#include <string>
#include <utility>

namespace vx::test {
namespace {

constexpr UINT kDialogLifeMs = 10000;

}  // namespace

ColourDialogScript* ColourDialogScript::Current = nullptr;

ColourDialogScript::ColourDialogScript(std::function<void()> meanwhile, int answer)
    : Meanwhile(std::move(meanwhile)), Answer(answer) {
  Current = this;
  Hook = SetWindowsHookExA(WH_CBT, &OnCbt, nullptr, GetCurrentThreadId());
}

ColourDialogScript::~ColourDialogScript() {
  UnhookWindowsHookEx(Hook);
  if (Step) KillTimer(nullptr, Step);
  if (Deadline) KillTimer(nullptr, Deadline);
  Current = nullptr;
}

LRESULT CALLBACK ColourDialogScript::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  char name[16] = {};
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && Current && GetClassNameA(window, name, sizeof name) &&
      std::string(name) == "#32770") {
    if (++Current->Dialogs == 1) {
      Current->Dialog = window;
      Current->Step = SetTimer(nullptr, 0, 0, &RunStep);
      Current->Deadline = SetTimer(nullptr, 0, kDialogLifeMs, &GiveUp);
    } else {
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ColourDialogScript::RunStep(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (!Current || Current->Ran) return;
  Current->Step = 0;
  Current->Ran = true;
  if (Current->Meanwhile) Current->Meanwhile();
  if (IsWindow(Current->Dialog)) PostMessageA(Current->Dialog, WM_COMMAND, Current->Answer, 0);
}

void CALLBACK ColourDialogScript::GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (!Current) return;
  Current->Deadline = 0;
  Current->TimedOut = true;
  if (IsWindow(Current->Dialog)) PostMessageA(Current->Dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace vx::test
