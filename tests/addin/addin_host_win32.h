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
#include "tests/win32/dialog_hooks_win32.h"
#include "tests/win32/message_recorder_win32.h"

namespace vx::test {

using test_support::CbtHook;
using test_support::ColourDialogScript;
using test_support::DialogWatchdog;
using test_support::HandBack;
using test_support::Insert;
using test_support::IsDialogWindow;
using test_support::MessageRecorder;
using test_support::Msg;
using test_support::ResizeNotice;
using test_support::Role;
using test_support::TreeActivation;
using test_support::UserCallSpy;

using CreateHtmlWindowFn = bool(__cdecl*)(TWindow*, HWND, const char*);

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

  HWND HostHandle() const { return hostFrame ? hostFrame->GetHandle() : nullptr; }
  HWND TagFrame() const;  // the add-in's top-level window owned by the host, or null
  HWND Tree() const;      // its tree control, or null
  std::vector<HWND> TagFrames() const;

  // Insert requests from SetUp on; a test may watch other messages instead.
  MessageRecorder& Messages() { return *recorder; }
  std::function<void()> onHostApp;  // run when the host frame gets WM_APP

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
  std::unique_ptr<MessageRecorder> recorder;
};

// The edit window's outer rectangle in these tests.
inline constexpr RECT EDIT_RECT{100, 50, 900, 650};

}  // namespace vx::test
