#include "host/edit_protocol_win32.h"

#include <string>

#include "hostkit/code_page_text_win32.h"
#include "protocol/messages_win32.h"

namespace vxhost {
namespace {

const char PROPERTY[] = "VxHostEditProtocol";

void GetSelection(HWND edit, DWORD& start, DWORD& end) {
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
}

void SetCaret(HWND edit, DWORD position) { SendMessageA(edit, EM_SETSEL, position, position); }

// Insert requests carry code page 932 text whatever the system code page is.
constexpr UINT REQUEST_CODE_PAGE = 932;

std::wstring FromRequest(const char* text) { return ToWide(REQUEST_CODE_PAGE, text); }

}  // namespace

EditProtocol::~EditProtocol() { Uninstall(); }

bool EditProtocol::Install(HWND edit) {
  if (edit_ || !IsWindow(edit)) return false;
  edit_ = edit;
  SetPropA(edit, PROPERTY, this);
  // Installed as a Unicode procedure on a Unicode control, so that messages
  // pass through without a round trip through the code page.
  unicode_ = IsWindowUnicode(edit) != FALSE;
  const LONG_PTR procedure = reinterpret_cast<LONG_PTR>(&EditProtocol::Procedure);
  previous_ = reinterpret_cast<WNDPROC>(unicode_ ? SetWindowLongPtrW(edit, GWLP_WNDPROC, procedure)
                                                 : SetWindowLongPtrA(edit, GWLP_WNDPROC, procedure));
  SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
  return true;
}

void EditProtocol::Uninstall() {
  if (!edit_) return;
  if (IsWindow(edit_)) {
    const LONG_PTR previous = reinterpret_cast<LONG_PTR>(previous_);
    if (unicode_) {
      SetWindowLongPtrW(edit_, GWLP_WNDPROC, previous);
    } else {
      SetWindowLongPtrA(edit_, GWLP_WNDPROC, previous);
    }
    RemovePropA(edit_, PROPERTY);
  }
  edit_ = nullptr;
  previous_ = nullptr;
}

LRESULT CALLBACK EditProtocol::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<EditProtocol*>(GetPropA(hwnd, PROPERTY));
  if (!self) return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                          : DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == vx::WM_HOST_INSERT) {
    // The code is a signed 32-bit value however the sender widened it.
    self->Insert(static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam)),
                 reinterpret_cast<const char*>(lParam));
    return 0;
  }
  WNDPROC previous = self->previous_;
  const bool unicode = self->unicode_;
  if (message == WM_NCDESTROY) self->Uninstall();
  return unicode ? CallWindowProcW(previous, hwnd, message, wParam, lParam)
                 : CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

void EditProtocol::Insert(std::int32_t code, const char* text) {
  if (!edit_) return;
  if (!text) text = "";
  switch (code) {
    case vx::InsertLead:
      InsertLead(text);
      break;
    case vx::InsertTrail:
    case vx::InsertLinkTrail:
      InsertTrail(text);
      break;
    case vx::InsertLineEnd:
      // The text of a line end is the sender's previous line, not new text.
      pairOpen_ = false;
      InsertAtSelectionStart("\r\n");
      break;
    case vx::InsertDefinitionText:
      pairOpen_ = false;
      InsertAtSelectionStart(text);
      break;
    default:
      break;
  }
  SendMessageA(edit_, EM_SCROLLCARET, 0, 0);
}

void EditProtocol::InsertLead(const char* text) {
  DWORD start = 0, end = 0;
  GetSelection(edit_, start, end);
  InsertAt(start, text);
  DWORD afterLead = 0, unused = 0;
  GetSelection(edit_, afterLead, unused);
  pairOpen_ = true;
  afterLead_ = afterLead;
  wrappedLength_ = end - start;
}

void EditProtocol::InsertTrail(const char* text) {
  DWORD start = 0, end = 0;
  GetSelection(edit_, start, end);
  // The pair holds only while the caret is still where the lead left it; a
  // trail on its own closes whatever is selected.
  DWORD position = end;
  if (pairOpen_ && start == afterLead_ && end == afterLead_) position = afterLead_ + wrappedLength_;
  pairOpen_ = false;
  InsertAt(position, text);
  SetCaret(edit_, position);
}

void EditProtocol::InsertAtSelectionStart(const char* text) {
  DWORD start = 0, end = 0;
  GetSelection(edit_, start, end);
  InsertAt(start, text);
}

void EditProtocol::InsertAt(DWORD position, const char* text) {
  SetCaret(edit_, position);
  const std::wstring characters = FromRequest(text);
  SendMessageW(edit_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(characters.c_str()));
}

}  // namespace vxhost
