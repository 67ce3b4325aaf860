// A host's link to the add-in: vxhtml.dll, loaded at run time,
// and its one entry point.
#pragma once
#include <windows.h>

#include "framework/framework_win32.h"

namespace vxhost {

using CreateHtmlWindowFunction = bool(__cdecl*)(TWindow* hostWindow, HWND editWindow, const char* definitionPath);

class TagWindowLink {
 public:
  // Loads the library once (it is never unloaded: the tag window object that
  // the framework deletes later has its code there). Returns whether the entry
  // point is available.
  bool Load(const wchar_t* libraryPath);
  bool IsLoaded() const;

  // The add-in's own answers: true for an opening, false when the tag window
  // was already open (it is then brought forward).
  bool Open(TWindow& host, HWND edit, const char* definitionPath);
  // Closes the tag window if one is open; its object is deleted by the loop.
  void Close();

  // The open tag window: the framework window that the host frame owns.
  static HWND FindTagWindow(HWND hostFrame);

 private:
  HMODULE module_ = nullptr;
  CreateHtmlWindowFunction createHtmlWindow_ = nullptr;
};

}  // namespace vxhost
