// Every message to another program goes with a time bound, so that a hung
// program never holds the caller.
#pragma once
#include <windows.h>

namespace vxpalette {

// How long one message to another program may take before that program
// counts as hung: long enough for a busy program on a slow machine (a
// program just started on the emulated 32-bit CPU took more than one second).
inline constexpr UINT ANSWER_BOUND_MS = 2000;

enum class Answer { Answered, Hung, Denied, Gone };

// Sends with the bound; Denied when the system refused the message (a
// program at a higher integrity level), Gone when the window went away.
Answer SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result);

}  // namespace vxpalette
