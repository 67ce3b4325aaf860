// Synthesised keyboard input for controls that take no edit messages.
#pragma once
#include <windows.h>
#include <vector>
#include "palette/insert/key_plan.h"

namespace vxpalette {

// Waits (bounded) until no key is held down: a Shift still held from the
// user's last chord would turn Left presses into a selection, a Ctrl would
// turn characters into commands.
bool WaitForKeysReleased(DWORD boundMs);

// Sends the strokes as one batch; false when the system took fewer events
// than given (input blocked).
bool SendStrokes(const std::vector<KeyStroke>& strokes);

}  // namespace vxpalette
