// Drives this thread's real colour dialog for the Wine tests.
#pragma once
#include <windows.h>

#include <functional>

namespace vx::test {

// When the dialog comes up, runs the test's action from the dialog's own
// message loop (a thread timer), then gives the answer (IDOK, IDCANCEL) if
// the dialog is still there. A second dialog is counted and cancelled; a
// dialog left unanswered is cancelled after a few seconds, so that a test
// whose script missed its moment fails instead of hanging.
class ColourDialogScript {
 public:
  ColourDialogScript(std::function<void()> meanwhile, int answer);
  ~ColourDialogScript();
  ColourDialogScript(const ColourDialogScript&) = delete;
  ColourDialogScript& operator=(const ColourDialogScript&) = delete;

  int dialogs = 0;
  bool ran = false;
  bool timedOut = false;

 private:
  static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD);
  static void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD);

  static ColourDialogScript* current_;
  std::function<void()> meanwhile_;
  int answer_;
  HHOOK hook_ = nullptr;
  HWND dialog_ = nullptr;
  UINT_PTR step_ = 0;
  UINT_PTR deadline_ = 0;
};

}  // namespace vx::test
