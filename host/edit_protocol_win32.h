// How the sample editor's edit control answers the add-in's insert requests.
//
// Nothing the user wrote is ever removed by an insertion: a lead goes in at the
// start of the selection and the selected text stays after it, so that a
// trail (or link trail) that follows wraps the selection. The caret always
// ends up just before a trail: between the two tags when nothing was
// selected, after the wrapped text otherwise. A lone lead, a line end (CR LF)
// and a definition text (its code page 932 bytes inserted as the characters
// they encode) leave the caret after what they inserted.
#pragma once
#include <windows.h>

#include <cstdint>

namespace vxhost {

class EditProtocol {
 public:
  EditProtocol() = default;
  EditProtocol(const EditProtocol&) = delete;
  EditProtocol& operator=(const EditProtocol&) = delete;
  ~EditProtocol();

  // Subclasses the edit control so that it takes insert requests, and lifts
  // its text limit: an insertion must never be cut off silently.
  bool Install(HWND edit);
  void Uninstall();

  // One insert request with the add-in's code and text. Unknown codes insert
  // nothing; a null text counts as empty.
  void Insert(std::int32_t code, const char* text);

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void InsertLead(const char* text);
  void InsertTrail(const char* text);
  void InsertAtSelectionStart(const char* text);
  void InsertAt(DWORD position, const char* text);

  HWND edit_ = nullptr;
  WNDPROC previous_ = nullptr;
  bool unicode_ = false;  // how previous_ was installed, and how it is called
  // The pair a lead opened: where the lead ended and how much of the user's
  // selection follows it, in the control's own position units.
  bool pairOpen_ = false;
  DWORD afterLead_ = 0;
  DWORD wrappedLength_ = 0;
};

}  // namespace vxhost
