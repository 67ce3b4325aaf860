#include "tests/win32/dialog_hooks_win32.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "tests/win32/import_patch_win32.h"

namespace vx::test_support {
namespace {

std::vector<CbtHook*> CbtHooks;
DialogWatchdog* Watchdog = nullptr;
UserCallSpy* Spy = nullptr;

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  // A copy: a handler may end its own hook.
  const std::vector<CbtHook*> hooks = CbtHooks;
  bool refused = false;
  for (CbtHook* hook : hooks) refused = hook->Refuses(code, wParam, lParam) || refused;
  return refused ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CALLBACK EndDialogOfThread(HWND window, LPARAM) {
  if (IsDialogWindow(window)) EndDialog(window, IDCANCEL);
  return TRUE;
}

void CALLBACK WatchdogTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (Watchdog) Watchdog->Fire();
}

int WINAPI SpyBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD language) {
  return Spy ? Spy->CallBox(owner, text, caption, type, language) : IDOK;
}

BOOL WINAPI SpyBeep(UINT type) { return Spy ? Spy->CallBeep(type) : TRUE; }

template <typename F>
FARPROC AsFarProc(F* function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

}  // namespace

bool IsDialogWindow(HWND window) {
  char name[16] = {};
  return GetClassNameA(window, name, sizeof name) && std::strcmp(name, "#32770") == 0;
}

CbtHook::CbtHook(Handler handler) : handler_(std::move(handler)) {
  CbtHooks.push_back(this);
  hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

CbtHook::~CbtHook() {
  if (hook_) UnhookWindowsHookEx(hook_);
  CbtHooks.erase(std::remove(CbtHooks.begin(), CbtHooks.end(), this), CbtHooks.end());
}

bool CbtHook::Refuses(int code, WPARAM wParam, LPARAM lParam) {
  const bool firstDialog =
      code == HCBT_ACTIVATE && dialog_ == nullptr && IsDialogWindow(reinterpret_cast<HWND>(wParam));
  if (firstDialog) dialog_ = reinterpret_cast<HWND>(wParam);
  return handler_ && handler_(code, wParam, lParam);
}

DialogWatchdog::DialogWatchdog(UINT milliseconds) {
  Watchdog = this;
  timer_ = SetTimer(nullptr, 0, milliseconds, WatchdogTimer);
}

DialogWatchdog::~DialogWatchdog() {
  if (timer_) KillTimer(nullptr, timer_);
  if (Watchdog == this) Watchdog = nullptr;
}

void DialogWatchdog::Fire() {
  fired_ = true;
  KillTimer(nullptr, timer_);
  timer_ = 0;
  EnumThreadWindows(GetCurrentThreadId(), EndDialogOfThread, 0);
}

ColourDialogScript::ColourDialogScript(std::function<void()> meanwhile, int answer)
    : meanwhile_(std::move(meanwhile)),
      answer_(answer),
      hook_([this](int code, WPARAM wParam, LPARAM) { return OnCbt(code, wParam); }) {}

ColourDialogScript::~ColourDialogScript() {
  if (IsWindow(hook_.Dialog())) KillTimer(hook_.Dialog(), reinterpret_cast<UINT_PTR>(this));
}

bool ColourDialogScript::OnCbt(int code, WPARAM wParam) {
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (code != HCBT_ACTIVATE || !IsDialogWindow(window)) return false;
  if (window != hook_.Dialog()) {
    ++dialogs;
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  } else if (dialogs == 0) {  // the first dialog, activated again later, is still one
    dialogs = 1;
    SetTimer(window, reinterpret_cast<UINT_PTR>(this), 0, &RunStep);
  }
  return false;
}

void CALLBACK ColourDialogScript::RunStep(HWND dialog, UINT, UINT_PTR id, DWORD) {
  KillTimer(dialog, id);
  ColourDialogScript* script = reinterpret_cast<ColourDialogScript*>(id);
  script->ran = true;
  if (script->meanwhile_) script->meanwhile_();
  if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, script->answer_, 0);
}

MessageBoxAnswers::MessageBoxAnswers(std::vector<int> buttons)
    : buttons_(std::move(buttons)), hook_([this](int code, WPARAM wParam, LPARAM) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && IsDialogWindow(window)) {
          const std::size_t index = boxes++;
          PostMessageA(window, WM_COMMAND, index < buttons_.size() ? buttons_[index] : IDCANCEL, 0);
        }
        return false;
      }) {}

UserCallSpy::UserCallSpy(HMODULE module) : module_(module) {
  Spy = this;
  originalBox_ = PatchImport(module, "user32.dll", "MessageBoxExA", AsFarProc(&SpyBox));
  originalBeep_ = PatchImport(module, "user32.dll", "MessageBeep", AsFarProc(&SpyBeep));
}

UserCallSpy::~UserCallSpy() {
  if (originalBox_) PatchImport(module_, "user32.dll", "MessageBoxExA", originalBox_);
  if (originalBeep_) PatchImport(module_, "user32.dll", "MessageBeep", originalBeep_);
  if (Spy == this) Spy = nullptr;
}

int UserCallSpy::CallBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD language) {
  boxes.push_back({owner, text ? text : "", caption ? std::optional<std::string>(caption) : std::nullopt,
                   type, language});
  using BoxFn = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT, WORD);
  return reinterpret_cast<BoxFn>(reinterpret_cast<void (*)()>(originalBox_))(owner, text, caption, type,
                                                                             language);
}

BOOL UserCallSpy::CallBeep(UINT type) {
  beeps.push_back(type);
  if (!passBeeps) return TRUE;
  using BeepFn = BOOL(WINAPI*)(UINT);
  return reinterpret_cast<BeepFn>(reinterpret_cast<void (*)()>(originalBeep_))(type);
}

}  // namespace vx::test_support
