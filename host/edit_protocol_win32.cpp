#include "host/edit_protocol_win32.h"

#include "addin/host_protocol.h"
#include "addin/messages.h"

namespace vxhost {
namespace {

const char kProperty[] = "VxHostEditProtocol";

void GetSelection(HWND edit, DWORD& start, DWORD& end) {
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
}

void SetCaret(HWND edit, DWORD position) { SendMessageA(edit, EM_SETSEL, position, position); }

}  // namespace

EditProtocol::~EditProtocol() { Uninstall(); }

bool EditProtocol::Install(HWND edit) {
  if (Edit || !IsWindow(edit)) return false;
  Edit = edit;
  SetPropA(edit, kProperty, this);
  // Installed as a Unicode procedure on a Unicode control, so that messages
  // pass through without a round trip through the code page.
  const bool unicode = IsWindowUnicode(edit) != FALSE;
  Unicode = unicode;
  const LONG_PTR procedure = reinterpret_cast<LONG_PTR>(&EditProtocol::Procedure);
  Previous = reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(edit, GWLP_WNDPROC, procedure)
                                               : SetWindowLongPtrA(edit, GWLP_WNDPROC, procedure));
  SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
  return true;
}

void EditProtocol::Uninstall() {
  if (!Edit) return;
  if (IsWindow(Edit)) {
    const LONG_PTR previous = reinterpret_cast<LONG_PTR>(Previous);
    if (Unicode) {
      SetWindowLongPtrW(Edit, GWLP_WNDPROC, previous);
    } else {
      SetWindowLongPtrA(Edit, GWLP_WNDPROC, previous);
    }
    RemovePropA(Edit, kProperty);
  }
  Edit = nullptr;
  Previous = nullptr;
}

LRESULT CALLBACK EditProtocol::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<EditProtocol*>(GetPropA(hwnd, kProperty));
  if (!self) return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, message, wParam, lParam)
                                          : DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == vx::WM_HOST_INSERT) {
    // The code is a signed 32-bit value however the sender widened it.
    self->Insert(static_cast<std::int32_t>(static_cast<std::uint32_t>(wParam)),
                 reinterpret_cast<const char*>(lParam));
    return 0;
  }
  WNDPROC previous = self->Previous;
  const bool unicode = self->Unicode;
  if (message == WM_NCDESTROY) self->Uninstall();
  return unicode ? CallWindowProcW(previous, hwnd, message, wParam, lParam)
                 : CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

void EditProtocol::Insert(std::int32_t code, const char* text) {
  if (!Edit) return;
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
      PairOpen = false;
      InsertAtSelectionStart("\r\n");
      break;
    case vx::InsertDefinitionText:
      PairOpen = false;
      InsertAtSelectionStart(text);
      break;
    default:
      break;
  }
  SendMessageA(Edit, EM_SCROLLCARET, 0, 0);
}

void EditProtocol::InsertLead(const char* text) {
  DWORD start = 0, end = 0;
  GetSelection(Edit, start, end);
  InsertAt(start, text);
  DWORD afterLead = 0, unused = 0;
  GetSelection(Edit, afterLead, unused);
  PairOpen = true;
  AfterLead = afterLead;
  WrappedLength = end - start;
}

void EditProtocol::InsertTrail(const char* text) {
  DWORD start = 0, end = 0;
  GetSelection(Edit, start, end);
  // The pair holds only while the caret is still where the lead left it; a
  // trail on its own closes whatever is selected.
  DWORD position = end;
  if (PairOpen && start == AfterLead && end == AfterLead) position = AfterLead + WrappedLength;
  PairOpen = false;
  InsertAt(position, text);
  SetCaret(Edit, position);
}

void EditProtocol::InsertAtSelectionStart(const char* text) {
  DWORD start = 0, end = 0;
  GetSelection(Edit, start, end);
  InsertAt(start, text);
}

void EditProtocol::InsertAt(DWORD position, const char* text) {
  SetCaret(Edit, position);
  SendMessageA(Edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

}  // namespace vxhost
