#include "tests/addin/color_dialog_script_win32.h"

#include <string>
#include <utility>

namespace vx::test {
namespace {

constexpr UINT DIALOG_LIFE_MS = 10000;

}  // namespace

ColourDialogScript* ColourDialogScript::current_ = nullptr;

ColourDialogScript::ColourDialogScript(std::function<void()> meanwhile, int answer)
    : meanwhile_(std::move(meanwhile)), answer_(answer) {
  current_ = this;
  hook_ = SetWindowsHookExA(WH_CBT, &OnCbt, nullptr, GetCurrentThreadId());
}

ColourDialogScript::~ColourDialogScript() {
  UnhookWindowsHookEx(hook_);
  if (step_) KillTimer(nullptr, step_);
  if (deadline_) KillTimer(nullptr, deadline_);
  current_ = nullptr;
}

LRESULT CALLBACK ColourDialogScript::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
  char name[16] = {};
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && current_ && GetClassNameA(window, name, sizeof name) &&
      std::string(name) == "#32770") {
    if (++current_->dialogs == 1) {
      current_->dialog_ = window;
      current_->step_ = SetTimer(nullptr, 0, 0, &RunStep);
      current_->deadline_ = SetTimer(nullptr, 0, DIALOG_LIFE_MS, &GiveUp);
    } else {
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK ColourDialogScript::RunStep(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (!current_ || current_->ran) return;
  current_->step_ = 0;
  current_->ran = true;
  if (current_->meanwhile_) current_->meanwhile_();
  if (IsWindow(current_->dialog_)) PostMessageA(current_->dialog_, WM_COMMAND, current_->answer_, 0);
}

void CALLBACK ColourDialogScript::GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (!current_) return;
  current_->deadline_ = 0;
  current_->timedOut = true;
  if (IsWindow(current_->dialog_)) PostMessageA(current_->dialog_, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace vx::test
