#include "palette/insert/clipboard_paste_win32.h"

#include <cstring>
#include "palette/insert/wait_win32.h"

namespace vxpalette {

namespace {

constexpr wchar_t OWNER_CLASS[] = L"VxPaletteClipboardOwner";

// Registered formats a clipboard history or monitor reads before it keeps
// anything; each holds a DWORD 0 ("no").
constexpr const wchar_t* PRIVACY_FORMATS[] = {
    L"ExcludeClipboardContentFromMonitorProcessing",
    L"CanIncludeInClipboardHistory",
    L"CanUploadToCloudClipboard",
};

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* paste = reinterpret_cast<ClipboardPaste*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return paste ? paste->Handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateOwnerWindow() {
  static const ATOM ownerClass = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = OWNER_CLASS;
    return RegisterClassW(&windowClass);
  }();
  if (!ownerClass) return nullptr;
  return CreateWindowExW(0, OWNER_CLASS, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

HGLOBAL GlobalDwordZero() {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DWORD));
  return block;
}

}  // namespace

bool OpenClipboardBounded(HWND owner) {
  return WaitUntil([owner] { return OpenClipboard(owner) != 0; }, OPEN_CLIPBOARD_BOUND_MS);
}

HGLOBAL GlobalText(const std::u16string& text) {
  SIZE_T bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  void* to = block ? GlobalLock(block) : nullptr;
  if (!to) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  std::memcpy(to, text.c_str(), bytes);
  GlobalUnlock(block);
  return block;
}

ClipboardPaste::ClipboardPaste() : window_(CreateOwnerWindow()) {
  if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ClipboardPaste::~ClipboardPaste() {
  if (window_) DestroyWindow(window_);
}

bool ClipboardPaste::Offer(const std::u16string& text, DWORD readerProcess) {
  if (!window_ || !OpenClipboardBounded(window_)) return false;
  text_ = text;
  readerProcess_ = readerProcess;
  previous_.TakeFromOpenClipboard();
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, nullptr);
  for (const wchar_t* name : PRIVACY_FORMATS) {
    HGLOBAL zero = GlobalDwordZero();
    if (zero && !SetClipboardData(RegisterClipboardFormatW(name), zero)) GlobalFree(zero);
  }
  CloseClipboard();
  sequence_ = GetClipboardSequenceNumber();
  offered_ = true;
  return true;
}

bool ClipboardPaste::RestoreUnlessChanged() {
  if (!offered_) return false;
  // Opened first: a reader still holding the clipboard closes it before we look.
  if (!OpenClipboardBounded(window_)) return false;
  // A render is a change of its own, counted when it happens or when the
  // reader closes the clipboard (Wine); more than that is another program's.
  DWORD changes = GetClipboardSequenceNumber() - sequence_;
  bool unchanged = GetClipboardOwner() == window_ && changes <= (rendered_ ? 1u : 0u);
  if (unchanged) {
    EmptyClipboard();
    previous_.PutIntoOpenClipboard();
    offered_ = false;
  }
  CloseClipboard();
  return unchanged;
}

LRESULT ClipboardPaste::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_RENDERFORMAT: OnRenderFormat(static_cast<UINT>(wParam)); return 0;
    case WM_RENDERALLFORMATS: OnRenderAllFormats(); return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
  }
}

void ClipboardPaste::OnRenderFormat(UINT format) {
  if (format != CF_UNICODETEXT || !offered_) return;
  HGLOBAL block = GlobalText(text_);
  if (block && !SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
  rendered_ = true;
  sequence_ = GetClipboardSequenceNumber();
  DWORD readerProcess = 0;
  GetWindowThreadProcessId(GetOpenClipboardWindow(), &readerProcess);
  if (readerProcess == readerProcess_) readByReader_ = true;
}

// The owner goes away before the previous content was put back (the
// clipboard could not be opened): the text stays readable rather than vanish.
// Wine asks this at every owner's end, also after the restore, which must
// then stand.
void ClipboardPaste::OnRenderAllFormats() {
  if (!offered_ || rendered_ || !OpenClipboard(window_)) return;
  if (GetClipboardOwner() == window_) OnRenderFormat(CF_UNICODETEXT);
  CloseClipboard();
}

}  // namespace vxpalette
