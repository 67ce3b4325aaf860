// The target: the window that was in front just before the palette. Told by
// the system's foreground event where it sends one, and by asking for the
// foreground window on a timer where it does not (Wine 8 sends none). A
// window of the palette's own (the tag window, the colour dialog), the
// desktop or the taskbar never becomes the target, so clicks in the tag
// window leave it alone.
#pragma once
#include <windows.h>

#include "palette/target_rules.h"

namespace vxpalette {

class TargetTracker {
 public:
  TargetTracker() = default;
  TargetTracker(const TargetTracker&) = delete;
  TargetTracker& operator=(const TargetTracker&) = delete;
  ~TargetTracker();

  // Hooks the foreground event and starts the timer, whose WM_TIMER (with
  // timerId) the owner passes to Poll. One tracker per process.
  void Start(HWND timerOwner, UINT_PTR timerId);
  void Stop();
  void Poll();

  // Takes the window (or its top-level window) as the target when it may be one.
  void Consider(HWND window);

  // The target, or null when there was none or it has closed since.
  HWND Target() const;

  static WindowFacts FactsOf(HWND window);

 private:
  static void CALLBACK OnForeground(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                    DWORD thread, DWORD time);

  HWINEVENTHOOK hook_ = nullptr;
  HWND timerOwner_ = nullptr;
  UINT_PTR timerId_ = 0;
  HWND target_ = nullptr;
};

inline constexpr UINT TARGET_POLL_MS = 100;

}  // namespace vxpalette
