// Whether a window's program runs at a higher integrity level than this one
// (an elevated program while we are not): the system then drops synthesised
// input to it without an error, so nothing may be sent there in the belief
// that it arrived.
#pragma once
#include <windows.h>

namespace vxpalette {

// False when the levels cannot be read (then the insertion itself must show
// whether anything arrived).
bool RunsAboveUs(HWND window);

}  // namespace vxpalette
