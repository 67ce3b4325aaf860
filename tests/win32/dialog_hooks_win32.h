// Hooks that tests use to watch dialogs and window creation on their own
// thread, with their state in the object: a test run twice in one process
// (--gtest_repeat) starts from nothing again.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vx::test_support {

// A thread-local WH_CBT hook calling a test's handler; the handler's result
// refuses the event (as a CBT hook's non-zero return does).
class CbtHook {
 public:
  using Handler = std::function<bool(int code, WPARAM wParam, LPARAM lParam)>;
  explicit CbtHook(Handler handler);
  ~CbtHook();
  CbtHook(const CbtHook&) = delete;
  CbtHook& operator=(const CbtHook&) = delete;

  bool Installed() const { return hook_ != nullptr; }
  // The first dialog ("#32770") activated while the hook lives, or null.
  HWND Dialog() const { return dialog_; }
  bool Refuses(int code, WPARAM wParam, LPARAM lParam);

 private:
  Handler handler_;
  HWND dialog_ = nullptr;
  HHOOK hook_ = nullptr;
};

bool IsDialogWindow(HWND window);

// Ends every dialog of this thread that is still up after the given time,
// from inside the dialog's own loop: a test whose hook missed its dialog then
// fails in seconds instead of waiting in the modal loop for the suite's time
// limit. Fired() tells the test; a watchdog that fires is a failure.
class DialogWatchdog {
 public:
  explicit DialogWatchdog(UINT milliseconds = 10000);
  ~DialogWatchdog();
  DialogWatchdog(const DialogWatchdog&) = delete;
  DialogWatchdog& operator=(const DialogWatchdog&) = delete;
  bool Fired() const { return fired_; }
  void Fire();

 private:
  UINT_PTR timer_ = 0;
  bool fired_ = false;
};

// Drives this thread's colour dialog: when it comes up, runs the test's
// action from the dialog's own message loop, then gives the answer (IDOK,
// IDCANCEL) if the dialog is still there. Any other dialog meanwhile is
// counted and cancelled; a dialog left unanswered is ended by the watchdog, so
// that a script that missed its moment fails in seconds.
class ColourDialogScript {
 public:
  ColourDialogScript(std::function<void()> meanwhile, int answer);
  ~ColourDialogScript();
  ColourDialogScript(const ColourDialogScript&) = delete;
  ColourDialogScript& operator=(const ColourDialogScript&) = delete;
  bool TimedOut() const { return watchdog_.Fired(); }

  int dialogs = 0;
  bool ran = false;

 private:
  // A timer on the dialog whose id is the script: no state outside the object.
  static void CALLBACK RunStep(HWND dialog, UINT, UINT_PTR id, DWORD);
  bool OnCbt(int code, WPARAM wParam);

  std::function<void()> meanwhile_;
  int answer_;
  DialogWatchdog watchdog_;
  CbtHook hook_;
};

// Answers this thread's message boxes, in order, with the given buttons, and
// counts the boxes that came up; a box beyond them is cancelled, so that a
// failing test fails instead of waiting in the box's loop.
class MessageBoxAnswers {
 public:
  explicit MessageBoxAnswers(std::vector<int> buttons);
  std::size_t boxes = 0;

 private:
  std::vector<int> buttons_;
  CbtHook hook_;
};

// MessageBoxExA and MessageBeep as one module calls them, seen through its
// import table; each call still reaches the system.
class UserCallSpy {
 public:
  struct Box {
    HWND owner;
    std::string text;
    std::optional<std::string> caption;  // none: the system's default caption
    UINT type;
    WORD language;
  };
  explicit UserCallSpy(HMODULE module);
  ~UserCallSpy();
  UserCallSpy(const UserCallSpy&) = delete;
  UserCallSpy& operator=(const UserCallSpy&) = delete;
  bool BoxesSeen() const { return originalBox_ != nullptr; }
  bool BeepsSeen() const { return originalBeep_ != nullptr; }

  std::vector<Box> boxes;
  std::vector<UINT> beeps;
  // Whether a beep reaches the system (Wine makes no sound either way).
  bool passBeeps = false;

  int CallBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD language);
  BOOL CallBeep(UINT type);

 private:
  HMODULE module_;
  FARPROC originalBox_ = nullptr;
  FARPROC originalBeep_ = nullptr;
};

}  // namespace vx::test_support
