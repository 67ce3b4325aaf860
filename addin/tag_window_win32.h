// The floating tag window: a frame of the framework whose client area is the
// tag tree. Its object is owned by the framework once created and is deleted
// from the host's message loop after the window closes.
#pragma once
#include <windows.h>

#include "framework/framework_win32.h"
#include "tree/tag_tree.h"

namespace vx {

// "VX HTML文書作成 v5.60" in code page 932.
extern const char TAG_WINDOW_TITLE[];

class TMFrameWindow : public TFrameWindow {
 public:
  TMFrameWindow(TWindow* parent, const char* title);
  // Saves the placement (when a window was ever made) and marks the tag
  // window closed before the base destroys a window that may still exist.
  ~TMFrameWindow() override;

  static const TResponseTable& ResponseTable();

 protected:
  void SetupWindow() override;
  const TResponseTable& Responses() const override;

 private:
  LRESULT EvSize(WPARAM wParam, LPARAM lParam);
  LRESULT EvSetFocus(WPARAM wParam, LPARAM lParam);
  LRESULT EvDpiChanged(WPARAM wParam, LPARAM lParam);
  LRESULT EvNotify(WPARAM wParam, LPARAM lParam);
  void ActivateTree();
  void ShowTitle();
  HINSTANCE ResourceInstance() const;

  TagTreeContext treeContext_{};
  HWND tree_ = nullptr;
  HWND filter_ = nullptr;  // the filter's panel, from its first opening on
};

}  // namespace vx
