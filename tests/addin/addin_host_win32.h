// A stand-in host editor for driving the built vxhtml.dll the way the real
// host does: the DLL loaded by name, a host frame of the framework, an edit
// window that records the insert requests, and a record of the messages that
// reach the host's windows and the tag window.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "protocol/host_protocol.h"
#include "framework/framework_win32.h"

namespace vx::test {

using CreateHtmlWindowFn = bool(__cdecl*)(TWindow*, HWND, const char*);

struct Insert {
  long long code;
  std::string text;
  bool operator==(const Insert& other) const { return code == other.code && text == other.text; }
};

// One recorded message: which of the known windows, which message, wParam.
struct Seen {
  std::string window;  // "host", "edit", "frame", "tree"
  UINT message;
  WPARAM wParam;
  bool operator==(const Seen& other) const {
    return window == other.window && message == other.message && wParam == other.wParam;
  }
};
inline void PrintTo(const Seen& s, std::ostream* os) {
  *os << s.window << ":0x" << std::hex << s.message << "(" << std::dec << s.wParam << ")";
}
inline void PrintTo(const Insert& i, std::ostream* os) { *os << i.code << ":\"" << i.text << "\""; }

inline constexpr const char* PLACEMENT_KEY = "Software\\Dravelco\\Quellpad\\Show";

class AddinHost : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  bool Open(const char* path = "") { return createHtmlWindow(hostFrame, edit, path); }
  bool OpenWith(HWND editWindow, const char* path) { return createHtmlWindow(hostFrame, editWindow, path); }
  bool CloseRequest() { return createHtmlWindow(nullptr, nullptr, nullptr); }
  void Pump() { app->PumpWaitingMessages(); }
  // Close request, then the host's loop deletes the object.
  void CloseAndDelete() { CloseRequest(); Pump(); }

  HWND HostHandle() const { return hostFrame->GetHandle(); }
  HWND TagFrame() const;  // the add-in's top-level window owned by the host, or null
  HWND Tree() const;      // its tree control, or null
  std::vector<HWND> TagFrames() const;

  // Messages of the kinds in watch, in arrival order, since the last Clear.
  std::vector<Seen> seen;
  std::vector<UINT> watch;
  std::vector<Insert> inserts;
  std::function<void()> onHostApp;  // run when the host frame gets WM_APP
  void StartRecording(std::vector<UINT> messages);
  void StopRecording();

  // Registry helpers on the placement key.
  static void DeletePlacementKey();
  static void WriteValue(const char* name, DWORD type, const void* data, DWORD size);
  static void WriteText(const char* name, const std::string& text);
  static bool ReadValue(const char* name, DWORD* type, std::string* data);

  // Tree helpers.
  HTREEITEM FindItem(const char* caption) const;
  int CountItems() const;
  void PressEnterOn(HTREEITEM item);

  HMODULE addin = nullptr;
  CreateHtmlWindowFn createHtmlWindow = nullptr;
  TApplication* app = nullptr;
  TWindow* root = nullptr;
  TFrameWindow* hostFrame = nullptr;
  HWND edit = nullptr;
};

// The edit window's outer rectangle in these tests.
inline constexpr RECT EDIT_RECT{100, 50, 900, 650};

}  // namespace vx::test
