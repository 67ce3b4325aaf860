// Bounded waits on a condition for code that talks to another program. While
// waiting, messages sent to this thread are answered (the target may send to
// us, and a delayed clipboard render arrives as a sent message), but nothing
// posted to the caller's windows is dispatched from here.
#pragma once
#include <windows.h>
#include <functional>

namespace vxpalette {

// True as soon as `condition` holds; false when `boundMs` passed first.
bool WaitUntil(const std::function<bool()>& condition, DWORD boundMs);

}  // namespace vxpalette
