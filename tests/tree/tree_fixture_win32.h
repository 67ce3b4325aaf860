// Set-up of the tag tree tests under Wine: a real parent window for the tree,
// and message-only stand-ins for the host frame and edit window, every
// message reaching them recorded.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "addin/host_connection_win32.h"
#include "tree/tag_tree.h"
#include "tree/tag_tree_win32.h"
#include "tests/win32/message_recorder_win32.h"

namespace vx::test_support {

// A real host frame would take the focus on a hand-back; the stand-ins only
// listen, so that nothing but the add-in's own messages arrives.
inline LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool standIn = window == EditWindowHandle || window == HostFrameHandle;
  if (standIn && (message == WM_ACTIVATE || message == WM_HOST_INSERT)) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

class Win32TreeTest : public ::testing::Test {
 protected:
  static constexpr int CLIENT_WIDTH = 360;
  static constexpr int CLIENT_HEIGHT = 700;

  void SetUp() override {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = StandInProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "VxTreeTestWindow";
    RegisterClassA(&windowClass);

    RECT frame{0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    parent_ = CreateWindowExA(0, "VxTreeTestWindow", "tag window", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              0, 0, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              nullptr, instance, nullptr);
    HostFrameHandle = CreateWindowExA(0, "VxTreeTestWindow", "frame", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, instance, nullptr);
    EditWindowHandle = CreateWindowExA(0, "VxTreeTestWindow", "edit", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                       nullptr, instance, nullptr);
    ASSERT_NE(parent_, nullptr);
    ASSERT_NE(HostFrameHandle, nullptr);
    ASSERT_NE(EditWindowHandle, nullptr);
    recorder_ = std::make_unique<MessageRecorder>(std::initializer_list<std::pair<HWND, Role>>{
        {HostFrameHandle, Role::Host}, {EditWindowHandle, Role::Edit}});
  }

  void TearDown() override {
    recorder_.reset();
    if (parent_) DestroyWindow(parent_);
    DestroyWindow(HostFrameHandle);
    DestroyWindow(EditWindowHandle);
  }

  HWND parent_ = nullptr;
  std::unique_ptr<MessageRecorder> recorder_;
};

// Tree queries, as the tests use them.
inline HTREEITEM NextItem(HWND tree, HTREEITEM item, WPARAM relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

struct RealItem {
  HTREEITEM handle;
  HTREEITEM parent;
  int depth;
  std::string caption;
  int image;
  int selectedImage;
  LPARAM value;
};

inline RealItem QueryRealItem(HWND tree, HTREEITEM item, int depth) {
  char caption[256] = {};
  TVITEMA query{};
  query.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  query.hItem = item;
  query.pszText = caption;
  query.cchTextMax = sizeof caption;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
  return {item, NextItem(tree, item, TVGN_PARENT), depth, caption, query.iImage,
          query.iSelectedImage, query.lParam};
}

// Every item in pre-order, found with TVM_GETNEXTITEM alone.
inline std::vector<RealItem> WalkRealTree(HWND tree) {
  std::vector<RealItem> items;
  std::vector<HTREEITEM> path;
  HTREEITEM item = NextItem(tree, nullptr, TVGN_ROOT);
  while (item) {
    items.push_back(QueryRealItem(tree, item, static_cast<int>(path.size())));
    if (HTREEITEM child = NextItem(tree, item, TVGN_CHILD)) {
      path.push_back(item);
      item = child;
      continue;
    }
    HTREEITEM next = NextItem(tree, item, TVGN_NEXT);
    while (!next && !path.empty()) {
      next = NextItem(tree, path.back(), TVGN_NEXT);
      path.pop_back();
    }
    item = next;
  }
  return items;
}

}  // namespace vx::test_support
