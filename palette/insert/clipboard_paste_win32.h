// One paste through the clipboard on the user's behalf. The text is offered
// for delayed rendering, so that the target's own request for it
// (WM_RENDERFORMAT) says that the paste happened; it carries the formats that
// ask clipboard history, cloud clipboards and monitors to leave it alone; and
// the user's previous clipboard is put back afterwards unless another program
// has set the clipboard meanwhile.
#pragma once
#include <windows.h>
#include <string>
#include "palette/insert/clipboard_snapshot_win32.h"

namespace vxpalette {

// How long opening the clipboard may wait for another program to close it.
inline constexpr DWORD OPEN_CLIPBOARD_BOUND_MS = 500;

// Opens the clipboard for `owner`, waiting (bounded) while another program has it open.
bool OpenClipboardBounded(HWND owner);

// A movable global block holding `text` and its terminating zero.
HGLOBAL GlobalText(const std::u16string& text);

class ClipboardPaste {
 public:
  ClipboardPaste();
  ClipboardPaste(const ClipboardPaste&) = delete;
  ClipboardPaste& operator=(const ClipboardPaste&) = delete;
  ~ClipboardPaste();

  // Keeps a copy of the clipboard and offers `text` in its place, to be
  // pasted by the program `readerProcess`.
  bool Offer(const std::u16string& text, DWORD readerProcess);
  // True once that program asked for the text. A clipboard monitor may ask
  // first; the text is then already there when the reader comes, and only
  // the bound of the wait tells that the paste is over.
  bool ReadByReader() const { return readByReader_; }
  bool Rendered() const { return rendered_; }
  // Puts the copy back unless the clipboard changed hands since the offer;
  // true when it did.
  bool RestoreUnlessChanged();
  std::size_t FormatsNotRestored() const { return previous_.FormatsNotCopied(); }

  // The owner window's procedure.
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnRenderFormat(UINT format);
  void OnRenderAllFormats();

  HWND window_ = nullptr;
  std::u16string text_;
  ClipboardSnapshot previous_;
  DWORD readerProcess_ = 0;
  DWORD sequence_ = 0;
  bool rendered_ = false;
  bool readByReader_ = false;
  bool offered_ = false;
};

}  // namespace vxpalette
