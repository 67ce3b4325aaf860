#pragma once
#include <windows.h>
#include "palette/insert/insertion_text.h"

namespace vxpalette {

enum class InsertOutcome {
  Inserted,        // the text reached the target's focused control
  NoTarget,        // the target is gone (or null): nothing typed anywhere
  TargetHung,      // the target did not answer within the bound: nothing typed
  NotReachable,    // input to the target is blocked (e.g. it runs elevated): nothing typed
  CouldNotFocus,   // the target never came to the foreground within the bound: nothing typed
  KeysHeld,        // a key stayed held down beyond the bound: nothing typed
};

struct InsertReport {
  InsertOutcome outcome = InsertOutcome::NoTarget;
  InsertMethod used = InsertMethod::Auto;  // the method actually used
};

// Brings `target` (a top-level window of another process) to the foreground, waits (bounded) until
// it is in front, finds its focused control with GetGUIThreadInfo and inserts `text` there with
// `method` (Auto: message for Edit/RichEdit controls, keys for short texts elsewhere, clipboard for
// long ones). The selection is kept and wrapped where it can be read. Never blocks unboundedly.
InsertReport InsertIntoWindow(HWND target, const InsertionText& text, InsertMethod method);

// Puts `text` (before + after) on the clipboard as CF_UNICODETEXT; used when there is no target.
bool PutTextOnClipboard(HWND owner, const std::u16string& text);

}  // namespace vxpalette
