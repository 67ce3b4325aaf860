#include "palette/target_tracker_win32.h"

namespace vxpalette {
namespace {

TargetTracker* Running = nullptr;

}  // namespace

TargetTracker::~TargetTracker() { Stop(); }

void TargetTracker::Start(HWND timerOwner, UINT_PTR timerId) {
  Stop();
  Running = this;
  // Out of context: no code of ours goes into other processes.
  hook_ = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, &TargetTracker::OnForeground, 0,
                          0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
  timerOwner_ = timerOwner;
  timerId_ = timerId;
  SetTimer(timerOwner, timerId, TARGET_POLL_MS, nullptr);
  Poll();
}

void TargetTracker::Stop() {
  if (hook_) UnhookWinEvent(hook_);
  hook_ = nullptr;
  if (timerOwner_) KillTimer(timerOwner_, timerId_);
  timerOwner_ = nullptr;
  if (Running == this) Running = nullptr;
}

void TargetTracker::Poll() { Consider(GetForegroundWindow()); }

void CALLBACK TargetTracker::OnForeground(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
  if (Running && object == OBJID_WINDOW) Running->Consider(window);
}

WindowFacts TargetTracker::FactsOf(HWND window) {
  WindowFacts facts;
  facts.exists = window && IsWindow(window);
  if (!facts.exists) return facts;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  facts.ownProcess = process == GetCurrentProcessId();
  facts.desktop = window == GetDesktopWindow() || window == GetShellWindow();
  wchar_t name[64] = {};
  const int length = GetClassNameW(window, name, 64);
  facts.className.assign(name, name + (length > 0 ? length : 0));
  return facts;
}

void TargetTracker::Consider(HWND window) {
  HWND topLevel = window ? GetAncestor(window, GA_ROOT) : nullptr;
  if (MayBeTarget(FactsOf(topLevel))) target_ = topLevel;
}

HWND TargetTracker::Target() const { return target_ && IsWindow(target_) ? target_ : nullptr; }

}  // namespace vxpalette
