#include "palette/insert/insert_into_window_win32.h"

#include <optional>
#include <vector>
#include "palette/insert/clipboard_paste_win32.h"
#include "palette/insert/foreground_win32.h"
#include "palette/insert/integrity_win32.h"
#include "palette/insert/key_input_win32.h"
#include "palette/insert/key_plan.h"
#include "palette/insert/method_choice.h"
#include "palette/insert/remote_edit_win32.h"
#include "palette/insert/wait_win32.h"

namespace vxpalette {

namespace {

constexpr DWORD FRONT_BOUND_MS = 2000;
constexpr DWORD KEYS_RELEASED_BOUND_MS = 3000;
// Typed input arrives at the target's pace (under Wine 13 to 20 ms a
// character, on the emulated 32-bit CPU up to 100): waiting goes on while
// the caret moves, stops when it stood still this long, and is capped by an
// allowance that grows with the strokes.
constexpr DWORD ARRIVAL_STALL_MS = 2000;
constexpr DWORD ARRIVAL_BOUND_MS = 3000;
constexpr DWORD ARRIVAL_MS_PER_STROKE = 250;

InsertOutcome OutcomeOf(Answer answer) {
  switch (answer) {
    case Answer::Answered: return InsertOutcome::Inserted;
    case Answer::Hung: return InsertOutcome::TargetHung;
    case Answer::Denied: return InsertOutcome::NotReachable;
    case Answer::Gone: return InsertOutcome::NoTarget;
  }
  return InsertOutcome::TargetHung;
}

std::u16string ClassOf(HWND window) {
  wchar_t name[256] = {};
  int length = GetClassNameW(window, name, 256);
  return std::u16string(reinterpret_cast<const char16_t*>(name), length > 0 ? length : 0);
}

// The focused control, and for an Edit or a RichEdit its selection as read
// before anything changes.
struct Destination {
  HWND control = nullptr;
  ControlKind kind = ControlKind::Other;
  std::optional<RemoteEdit> edit;
  Selection selection;
};

DWORD ArrivalBound(std::size_t strokes) { return ARRIVAL_BOUND_MS + static_cast<DWORD>(strokes) * ARRIVAL_MS_PER_STROKE; }

// Keys go to whatever is in front when they are sent: after the waits before
// them (keys held, the clipboard), the target must be in front still, or
// again. The window manager may hand the foreground back to the palette late.
bool StillInFront(const Destination& to) {
  HWND target = GetAncestor(to.control, GA_ROOT);
  return GetForegroundWindow() == target || BringToFront(target, FRONT_BOUND_MS) == FrontResult::InFront;
}

// Typed or pasted text lands where the caret stood: waits until the caret
// stands after it, then puts it before the trail. A selection that never
// moved means nothing arrived; one that stopped short, a target that stopped.
InsertOutcome SettleCaret(const Destination& to, const std::u16string& typed, const std::u16string& after,
                          DWORD boundMs) {
  DWORD expected = to.selection.start + static_cast<DWORD>(PositionsIn(typed, to.edit->Count()));
  DWORD start = to.selection.start;
  DWORD end = to.selection.end;
  Answer answer = Answer::Answered;
  ULONGLONG deadline = GetTickCount64() + boundMs;
  for (;;) {
    DWORD lastStart = start;
    DWORD lastEnd = end;
    bool changed = WaitUntil(
        [&] {
          answer = to.edit->ReadRange(&start, &end);
          return answer != Answer::Answered || start != lastStart || end != lastEnd;
        },
        ARRIVAL_STALL_MS);
    if (answer != Answer::Answered) return OutcomeOf(answer);
    if (start == expected && end == expected) break;
    if (!changed || GetTickCount64() >= deadline) {
      bool untouched = start == to.selection.start && end == to.selection.end;
      return untouched ? InsertOutcome::NotReachable : InsertOutcome::TargetHung;
    }
  }
  return OutcomeOf(to.edit->PutCaret(expected - static_cast<DWORD>(PositionsIn(after, to.edit->Count()))));
}

InsertOutcome InsertByMessage(const Destination& to, const std::u16string& typed, const std::u16string& after) {
  Answer answer = to.edit->ReplaceSelection(typed);
  if (answer != Answer::Answered) return OutcomeOf(answer);
  DWORD start = 0;
  DWORD end = 0;
  answer = to.edit->ReadRange(&start, &end);
  if (answer != Answer::Answered) return OutcomeOf(answer);
  return OutcomeOf(to.edit->PutCaret(end - static_cast<DWORD>(PositionsIn(after, to.edit->Count()))));
}

// An Edit or a RichEdit gets its caret by message; any other control by Left
// presses, one per character of the trail.
void AppendLeftPresses(const Destination& to, const std::u16string& after, std::vector<KeyStroke>* strokes) {
  if (to.edit) return;
  strokes->insert(strokes->end(), LeftPressesOver(after), KeyStroke{KeyStroke::Kind::Left});
}

InsertOutcome InsertByKeys(const Destination& to, const std::u16string& typed, const std::u16string& after) {
  if (!WaitForKeysReleased(KEYS_RELEASED_BOUND_MS)) return InsertOutcome::KeysHeld;
  std::vector<KeyStroke> strokes = TypingStrokes(typed);
  AppendLeftPresses(to, after, &strokes);
  if (!StillInFront(to)) return InsertOutcome::CouldNotFocus;
  if (!SendStrokes(strokes)) return InsertOutcome::NotReachable;
  if (!to.edit) return InsertOutcome::Inserted;
  return SettleCaret(to, typed, after, ArrivalBound(strokes.size()));
}

// Ctrl+V, then (bounded) the target's request for the text, which must come
// before the previous content goes back; an Edit or a RichEdit also shows the
// text arrive by its caret.
InsertOutcome Paste(const Destination& to, const ClipboardPaste& paste, const std::u16string& typed,
                    const std::u16string& after) {
  std::vector<KeyStroke> strokes{{KeyStroke::Kind::Paste}};
  AppendLeftPresses(to, after, &strokes);
  if (!SendStrokes(strokes)) return InsertOutcome::NotReachable;
  bool pasted = WaitUntil([&paste] { return paste.ReadByReader(); }, ArrivalBound(strokes.size())) ||
                paste.Rendered();
  if (to.edit) return SettleCaret(to, typed, after, ArrivalBound(strokes.size()));
  return pasted ? InsertOutcome::Inserted : InsertOutcome::NotReachable;
}

InsertOutcome InsertByClipboard(const Destination& to, const std::u16string& typed, const std::u16string& after) {
  if (!WaitForKeysReleased(KEYS_RELEASED_BOUND_MS)) return InsertOutcome::KeysHeld;
  ClipboardPaste paste;
  DWORD targetProcess = 0;
  GetWindowThreadProcessId(to.control, &targetProcess);
  if (!paste.Offer(typed, targetProcess)) return InsertOutcome::NotReachable;
  InsertOutcome outcome = StillInFront(to) ? Paste(to, paste, typed, after) : InsertOutcome::CouldNotFocus;
  paste.RestoreUnlessChanged();
  return outcome;
}

// Reads what the focused control is and, for an edit control, its selection.
InsertOutcome Inspect(HWND target, Destination* to) {
  to->control = FocusedControl(target);
  to->kind = KindOfClass(ClassOf(to->control));
  if (to->kind == ControlKind::Other) return OutcomeOf(SendBounded(to->control, WM_NULL, 0, 0, nullptr));
  to->edit.emplace(to->control, PositionCountOf(to->kind));
  // A read-only field takes no typing; a message would go past that.
  if (to->edit->IsReadOnly()) return InsertOutcome::NotReachable;
  return OutcomeOf(to->edit->ReadSelection(&to->selection));
}

InsertOutcome ReachFront(HWND target) {
  if (!target || !IsWindow(target)) return InsertOutcome::NoTarget;
  // Asked first, so that a hung program neither gets the foreground nor queues input.
  Answer answer = SendBounded(target, WM_NULL, 0, 0, nullptr);
  if (answer != Answer::Answered) return OutcomeOf(answer);
  if (RunsAboveUs(target)) return InsertOutcome::NotReachable;
  switch (BringToFront(target, FRONT_BOUND_MS)) {
    case FrontResult::InFront: return InsertOutcome::Inserted;
    case FrontResult::Gone: return InsertOutcome::NoTarget;
    case FrontResult::NotInFront: return InsertOutcome::CouldNotFocus;
  }
  return InsertOutcome::CouldNotFocus;
}

}  // namespace

InsertReport InsertIntoWindow(HWND target, const InsertionText& text, InsertMethod method) {
  InsertReport report;
  report.used = method;
  report.outcome = ReachFront(target);
  if (report.outcome != InsertOutcome::Inserted) return report;
  Destination to;
  report.outcome = Inspect(target, &to);
  if (report.outcome != InsertOutcome::Inserted) return report;
  std::u16string typed = text.before + to.selection.selected + text.after;
  if (typed.empty()) return report;
  report.used = ChooseMethod(method, to.kind, typed.size());
  switch (report.used) {
    case InsertMethod::Message: report.outcome = InsertByMessage(to, typed, text.after); break;
    case InsertMethod::Keys: report.outcome = InsertByKeys(to, typed, text.after); break;
    case InsertMethod::Clipboard: report.outcome = InsertByClipboard(to, typed, text.after); break;
    case InsertMethod::Auto: break;
  }
  return report;
}

bool PutTextOnClipboard(HWND owner, const std::u16string& text) {
  HWND temporary = nullptr;
  if (!owner) {
    temporary = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    owner = temporary;
  }
  bool put = false;
  if (owner && OpenClipboardBounded(owner)) {
    HGLOBAL block = GlobalText(text);
    put = EmptyClipboard() && block && SetClipboardData(CF_UNICODETEXT, block);
    if (block && !put) GlobalFree(block);
    CloseClipboard();
  }
  if (temporary) DestroyWindow(temporary);
  return put;
}

}  // namespace vxpalette
