// An Edit or RichEdit control of another process, reached only by messages
// the system marshals across the process boundary (WM_GETTEXT, EM_GETSEL with
// its two DWORD pointers, EM_REPLACESEL, EM_SETSEL, EM_UNDO), each sent with
// a time bound so that a hung program never holds the caller.
#pragma once
#include <windows.h>
#include <string>
#include "palette/insert/bounded_send_win32.h"
#include "palette/insert/text_positions.h"

namespace vxpalette {

struct Selection {
  DWORD start = 0;          // control positions
  DWORD end = 0;
  std::u16string selected;  // the selected text as WM_GETTEXT gives it (CR LF)
};

class RemoteEdit {
 public:
  RemoteEdit(HWND control, PositionCount count) : control_(control), count_(count) {}

  bool IsReadOnly() const;
  Answer ReadSelection(Selection* selection) const;
  Answer ReadRange(DWORD* start, DWORD* end) const;
  Answer ReadText(std::u16string* text) const;
  // One undoable replacement: one EM_UNDO takes it back whole.
  Answer ReplaceSelection(const std::u16string& text) const;
  Answer PutCaret(DWORD position) const;
  PositionCount Count() const { return count_; }

 private:
  HWND control_;
  PositionCount count_;
};

}  // namespace vxpalette
