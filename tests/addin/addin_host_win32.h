// A stand-in host editor for driving the built vxhtml.dll the way the real
// host does: the DLL loaded by name, a host frame of the framework, an edit
// window that edits like a plain editor, and the shared recorder naming the
// host frame, the edit window, the tag window and its tree.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "protocol/host_protocol.h"
#include "framework/framework_win32.h"
#include "tests/win32/message_recorder_win32.h"

namespace vx::test {

using CreateHtmlWindowFn = bool(__cdecl*)(TWindow*, HWND, const char*);

inline constexpr const char* PLACEMENT_KEY = "Software\\Dravelco\\Quellpad\\Show";

class AddinHost : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  bool Open(const char* path = "") { return Create(HostFrame, Edit, path); }
  bool OpenWith(HWND edit, const char* path) { return Create(HostFrame, edit, path); }
  bool CloseRequest() { return Create(nullptr, nullptr, nullptr); }
  void Pump() { App->PumpWaitingMessages(); }
  // Close request, then the host's loop deletes the object.
  void CloseAndDelete() { CloseRequest(); Pump(); }

  HWND HostHandle() const { return HostFrame ? HostFrame->GetHandle() : nullptr; }
  HWND TagFrame() const;  // the add-in's top-level window owned by the host, or null
  HWND Tree() const;      // its tree control, or null
  std::vector<HWND> TagFrames() const;

  // Insert requests from SetUp on; a test may watch other messages instead.
  MessageRecorder& Messages() { return *Recorder; }
  std::function<void()> OnHostApp;  // run when the host frame gets WM_APP

  // Registry helpers on the placement key.
  static void DeletePlacementKey();
  static void WriteValue(const char* name, DWORD type, const void* data, DWORD size);
  static void WriteText(const char* name, const std::string& text);
  static bool ReadValue(const char* name, DWORD* type, std::string* data);

  // Tree helpers.
  HTREEITEM FindItem(const char* caption) const;
  int CountItems() const;
  void PressEnterOn(HTREEITEM item);

  HMODULE Addin = nullptr;
  CreateHtmlWindowFn Create = nullptr;
  TApplication* App = nullptr;
  TWindow* Root = nullptr;
  TFrameWindow* HostFrame = nullptr;
  HWND Edit = nullptr;
  std::unique_ptr<MessageRecorder> Recorder;
};

// The edit window's outer rectangle in these tests.
inline constexpr RECT EDIT_RECT{100, 50, 900, 650};

}  // namespace vx::test
