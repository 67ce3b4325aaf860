// Giving the foreground back to the target and finding the control that has
// its keyboard focus.
#pragma once
#include <windows.h>

namespace vxpalette {

enum class FrontResult { InFront, Gone, NotInFront };

// Asks for `target` to be the foreground window and waits (bounded) until it
// is and its thread has taken the activation.
FrontResult BringToFront(HWND target, DWORD boundMs);

// The target thread's focused control; the target itself when its thread
// names none.
HWND FocusedControl(HWND target);

}  // namespace vxpalette
